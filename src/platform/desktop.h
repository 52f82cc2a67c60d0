#pragma once

// Opens documents (compiled help, exported files) with the program the desktop associates with them.

#include <QString>
#include <functional>

using DocumentOpener = std::function<void(const QString &path)>;

// Hands the file to the desktop; an empty path opens nothing. The result is not examined.
void openDocument(const QString &path);

// Replaces the desktop hand-over (tests record the paths instead); an empty opener restores it.
void setDocumentOpener(DocumentOpener opener);
