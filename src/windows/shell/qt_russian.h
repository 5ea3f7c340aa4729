// Qt's own texts (dialog buttons, the file dialogs) in Russian, whatever the
// user's locale: the rest of the interface is Russian too.
#pragma once

class QTranslator;

// Loads Qt's Russian translation and installs it in the application; returns
// the translator (owned by the application), or nullptr when the translation
// is not installed (Qt's texts then stay English).
QTranslator* InstallQtRussian();
