#pragma once

// Opens documents (compiled help, exported files) with the program the desktop associates with them.

#include <QString>
#include <functional>

// True when the file was handed to a program that opens it.
using DocumentOpener = std::function<bool(const QString &path)>;

// Hands the file to the desktop; an empty path opens nothing. False when the desktop could not
// take it (no launcher such as xdg-open).
bool openDocument(const QString &path);

// Replaces the desktop hand-over (tests record the paths instead); an empty opener restores it.
void setDocumentOpener(DocumentOpener opener);

// Whether the desktop's launcher, xdg-open, is on the search path.
bool desktopLauncherFound();

// Whether a viewer for compiled help files is on the search path.
bool helpViewerFound();
