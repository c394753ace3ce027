#pragma once

class QCoreApplication;

namespace notarium {

// Loads Qt's own Japanese texts (the file dialog, the editors' context menus, the standard
// buttons), so nothing of the toolkit shows in English inside the program. False when the
// catalogue is not installed; the toolkit then keeps its English texts.
bool installQtTranslations(QCoreApplication& application);

} // namespace notarium
