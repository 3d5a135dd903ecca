#pragma once

#include <QString>

#include <functional>

// Hands a file, a program, a web address or a mailto address to the desktop,
// which opens it with its default program; does not wait. A program path is
// started in the program folder. False when the desktop refused it.
bool OpenDocument(const QString& target);

// Test seam: replaces what OpenDocument does; an empty function restores it.
using DocumentOpener = std::function<bool(const QString& target)>;
void SetDocumentOpener(DocumentOpener opener);
