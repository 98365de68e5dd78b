#pragma once

class QMenu;
class QWidget;

namespace seikyu {

class Document;

/// The application-wide services that the menus offer: output, preferences, help.
namespace AppServices {
void addOutputActions(QMenu *fileMenu, QWidget *window, Document *document);
void addPreferencesAction(QMenu *editMenu, QWidget *window);
void addHelpActions(QMenu *helpMenu, QWidget *window);
} // namespace AppServices

} // namespace seikyu
