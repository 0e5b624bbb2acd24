#ifndef TALDON_TESTS_COMMON_MODALANSWER_H
#define TALDON_TESTS_COMMON_MODALANSWER_H

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>

#include <functional>

// The dialogs a test answers open inside the caller's nested event loop, so each answer polls
// from a timer until its dialog is there.

// Polls until find() gives a widget, then hands it to answer.
inline void answerWhenOpen(std::function<QWidget *()> find, std::function<void(QWidget *)> answer,
                           int triesLeft)
{
    QTimer::singleShot(10, [find, answer, triesLeft]() {
        if (QWidget *open = find())
            answer(open);
        else if (triesLeft > 0)
            answerWhenOpen(find, answer, triesLeft - 1);
    });
}

// Answers the next modal dialog: once one is open (the caller is about to block in its exec),
// `answer` gets it and must close it.
inline void answerNextModal(std::function<void(QWidget *)> answer, int triesLeft = 200)
{
    answerWhenOpen(&QApplication::activeModalWidget, answer, triesLeft);
}

// Fills the New dialog with the contest's name and home and presses OK.
inline void answerNewDialog(const QString &name, const QString &home)
{
    answerNextModal([name, home](QWidget *modal) {
        auto *nameLE = modal->findChild<QLineEdit *>(QStringLiteral("basenameLE"));
        auto *pathLE = modal->findChild<QLineEdit *>(QStringLiteral("pathLE"));
        if (!nameLE || !pathLE) {
            modal->close();
            return;
        }
        nameLE->setText(name);
        pathLE->setText(home);
        QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("okPB")), Qt::LeftButton);
    });
}

// Makes a contest through the window's File > New, answering the New dialog with name and home.
inline void newContestFromMenu(QWidget *window, const QString &name, const QString &home)
{
    answerNewDialog(name, home);
    window->findChild<QAction *>(QStringLiteral("newGameAct"))->trigger();
}

// What a message box said when it was answered.
struct Answered {
    QString title;
    QString text;
};

// Presses `button` in the next message box and keeps its title and text in seen (if given).
// Other dialogs opened before it are left to their own answers.
inline void answerMessageBox(Answered *seen = nullptr,
                             QMessageBox::StandardButton button = QMessageBox::Ok)
{
    answerWhenOpen([] { return qobject_cast<QMessageBox *>(QApplication::activeModalWidget()); },
                   [seen, button](QWidget *open) {
                       auto *box = static_cast<QMessageBox *>(open);
                       if (seen)
                           *seen = {box->windowTitle(), box->text()};
                       if (QAbstractButton *pressed = box->button(button))
                           QTest::mouseClick(pressed, Qt::LeftButton);
                       else
                           box->close();
                   },
                   500);
}

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
    const auto doneOrError = []() -> QWidget * {
        QWidget *modal = QApplication::activeModalWidget();
        auto *label = modal ? modal->findChild<QLabel *>("pProgressText") : nullptr;
        const bool done = label && label->text() == QStringLiteral("Done...");
        return done || qobject_cast<QMessageBox *>(modal) ? modal : nullptr;
    };
    answerWhenOpen(
        doneOrError,
        [seen, errorText, triesLeft](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                *errorText = box->text();
                box->accept();
                answerProgress(seen, errorText, triesLeft);
                return;
            }
            auto *bar = modal->findChild<QProgressBar *>("ppbProgress");
            *seen = {modal->windowTitle(), modal->findChild<QLabel *>("pProgressText")->text(),
                     bar->value(), bar->maximum()};
            QTest::mouseClick(modal->findChild<QPushButton *>("okPB"), Qt::LeftButton);
        },
        triesLeft);
}

// Answers the next popup menu: the texts of its entries go to offered (if given); the entry
// `pick` is chosen with the keyboard, or the menu is closed when it has none such.
inline void answerNextMenu(const QString &pick, QStringList *offered = nullptr)
{
    answerWhenOpen([] { return qobject_cast<QMenu *>(QApplication::activePopupWidget()); },
                   [pick, offered](QWidget *open) {
                       auto *menu = static_cast<QMenu *>(open);
                       QAction *chosen = nullptr;
                       for (QAction *entry : menu->actions()) {
                           if (offered)
                               *offered << entry->text();
                           if (!chosen && entry->text() == pick)
                               chosen = entry;
                       }
                       if (!chosen) {
                           menu->close();
                           return;
                       }
                       menu->setActiveAction(chosen);
                       QTest::keyClick(menu, Qt::Key_Return);
                   },
                   200);
}

// Right-clicks the item of view (the empty space below the items for none), returns the entries
// the menu offered and chooses the entry pick, or closes the menu when pick is empty.
inline QStringList treeContextMenu(QTreeWidget *view, QTreeWidgetItem *item,
                                   const QString &pick = QString())
{
    QStringList offered;
    answerNextMenu(pick, &offered);
    const QPoint pos =
        item ? view->visualItemRect(item).center() : QPoint(5, view->viewport()->height() - 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, view->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(view->viewport(), &event);
    return offered;
}

#endif
