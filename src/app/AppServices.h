#pragma once

class QMenu;
class QWidget;

namespace seikyu {

class Document;
class HelpPanel;

/// The application-wide services that the menus offer: output, preferences, help and About.
namespace AppServices {
void addOutputActions(QMenu *fileMenu, QWidget *window, Document *document);
void addPreferencesAction(QMenu *editMenu, QWidget *window);
void addHelpActions(QMenu *helpMenu, QWidget *window);
/// The application's one help panel.
HelpPanel *helpPanel();
} // namespace AppServices

} // namespace seikyu
