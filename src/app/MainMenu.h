#pragma once

class QMainWindow;

namespace seikyu {

class Document;
class DocumentController;

/// The invoice window's menus: File, Edit and Help.
namespace MainMenu {
void install(QMainWindow *window, Document *document, DocumentController *controller);
}

} // namespace seikyu
