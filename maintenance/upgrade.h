#pragma once

#include "maintenance/feedback.h"

#include <QString>

class Database;

// "Verzióváltás": brings the data folder named by the path text up to the
// current structure. A folder of old tables without a store first gets its
// store built from them; a store that exists is upgraded in place. Running it
// again changes nothing. Ends with feedback.info("Verzióváltás kész").
//
// Throws ZelmoError or DbError when the folder does not exist, another program
// holds it, an old table cannot be read, or a step other than the added
// fields' statements fails; nothing half-done is left behind by the import.
void RunVersionUpgrade(const QString& pathText, const MaintenanceFeedback& feedback = {});

// The upgrade steps on an open store: the remark fields of vk and felvetel
// from memo to text of 255 characters, then the lending and type-name fields
// that older structures lack.
void UpgradeStore(Database& db, const MaintenanceFeedback& feedback = {});
