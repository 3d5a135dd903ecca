#pragma once

#include "maintenance/feedback.h"

#include <QString>

class Database;

// "Karbantartás": fills the empty lending flags, then for felvetel, minoseg,
// mufaj, szereplo, tipus and vk in turn drops the table's indexes and builds
// exactly its primary key and the catalogue's secondary indexes, then checks
// the store's integrity and compacts it. Ends with
// feedback.info("Indexek újraépítése kész.").
//
// Each table's work is one transaction: a table that another program holds, or
// whose index cannot be built, is reported through feedback.error and stays
// exactly as it was, and the next table follows.
//
// Throws ZelmoError or DbError when the folder does not exist, holds no store,
// or another program holds it; nothing has been changed then.
void RunTableRepair(const QString& pathText, const MaintenanceFeedback& feedback = {});

// The table steps, the integrity check and the compaction on an open store.
void RepairStore(Database& db, const MaintenanceFeedback& feedback = {});
