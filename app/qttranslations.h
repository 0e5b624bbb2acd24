#ifndef TALDON_APP_QTTRANSLATIONS_H
#define TALDON_APP_QTTRANSLATIONS_H

class QCoreApplication;

// Loads the toolkit's own Chinese texts (file dialogs, the Yes/No/OK/Cancel buttons of message
// boxes) from Qt's translations directory, so that the window is Chinese in every dialog
// whatever the user's locale. False when they are not installed; the window then works with
// the toolkit's English texts.
bool loadQtTranslations(QCoreApplication *app);

#endif
