#ifndef TALDON_TESTS_APP_PROGRESSANSWER_H
#define TALDON_TESTS_APP_PROGRESSANSWER_H

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// What the progress dialog showed when it was closed.
struct Progress {
    QString title;
    QString text;
    int value = -1;
    int maximum = -1;
};

// Closes the progress dialog with its OK button once it reads "Done...", answering the
// error box that may come before. Polls on: the dialog is modal while it works, too.
inline void answerProgress(Progress *seen, QString *errorText, int triesLeft = 3000)
{
    QTimer::singleShot(10, [seen, errorText, triesLeft]() {
        QWidget *modal = QApplication::activeModalWidget();
        auto *box = qobject_cast<QMessageBox *>(modal);
        auto *label = modal ? modal->findChild<QLabel *>("pProgressText") : nullptr;
        if (box) {
            *errorText = box->text();
            box->accept();
        } else if (label && label->text() == QStringLiteral("Done...")) {
            seen->title = modal->windowTitle();
            seen->text = label->text();
            seen->value = modal->findChild<QProgressBar *>("ppbProgress")->value();
            seen->maximum = modal->findChild<QProgressBar *>("ppbProgress")->maximum();
            QTest::mouseClick(modal->findChild<QPushButton *>("okPB"), Qt::LeftButton);
            return;
        }
        if (triesLeft > 0)
            answerProgress(seen, errorText, triesLeft - 1);
    });
}

#endif
