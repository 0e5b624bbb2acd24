#ifndef TALDON_TESTS_PAGES_PAGEUI_H
#define TALDON_TESTS_PAGES_PAGEUI_H

// What the page and window tests do to the real widgets, as a user would.

#include "ctaskinfo.h"
#include "filedialogs.h"

#include "common/testfiles.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

// A missing widget ends the run at once: every later step would only crash on it.
template <typename T> T *child(QWidget *parent, const char *name)
{
    T *found = parent->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no widget %s", name);
    return found;
}

inline void clickButton(QWidget *parent, const char *name)
{
    QTest::mouseClick(child<QPushButton>(parent, name), Qt::LeftButton);
}

// On the indicator: the box may be wider than what it reacts to.
inline void clickBox(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

inline void clickItem(QTreeWidget *view, QTreeWidgetItem *item)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(item).center());
}

// Selects all, types and presses Enter, when the task form takes a value; one key event carries
// the whole text, as an input method sends Chinese.
inline void retype(QWidget *field, const QString &text)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (!text.isEmpty())
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, text, Qt::NoModifier);
    else
        QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClick(field, Qt::Key_Enter);
}

inline QString cellText(const QTableWidget *table, int r, int c)
{
    return table->item(r, c) ? table->item(r, c)->text() : QStringLiteral("<none>");
}

inline QStringList rowTexts(const QTableWidget *table, int row)
{
    QStringList texts;
    for (int c = 0; c < table->columnCount(); ++c)
        texts << cellText(table, row, c);
    return texts;
}

inline QStringList column(const QTableWidget *table, int c)
{
    QStringList texts;
    for (int r = 0; r < table->rowCount(); ++r)
        texts << cellText(table, r, c);
    return texts;
}

inline QList<int> marksOf(const CTaskInfo *task)
{
    QList<int> marks;
    for (int i = 1; i <= task->getSamplenum(); ++i)
        marks << task->getSampleMark(i);
    return marks;
}

// Pages set themselves up again on entering their tab.
inline void enterTab(QWidget *window, int index)
{
    auto *tabs = child<QTabWidget>(window, "tabWidget");
    tabs->setCurrentIndex(index == 0 ? 1 : 0);
    tabs->setCurrentIndex(index);
}

inline void withOpenFile(const QString &path, const std::function<void()> &act)
{
    FileDialogs::replaceOpenFileName(
        [path](QWidget *, const QString &, const QString &, const QString &) { return path; });
    act();
    FileDialogs::replaceOpenFileName({});
}

inline void openFromMenu(QWidget *window, const QString &setupFile)
{
    withOpenFile(setupFile, [window] { child<QAction>(window, "openGameAct")->trigger(); });
}

// A dialog opens inside the caller's nested event loop: the answer polls from a timer until
// find() gives it.
inline void answerWhenOpen(std::function<QWidget *()> find, std::function<void(QWidget *)> answer,
                           int triesLeft = 500)
{
    QTimer::singleShot(10, [find, answer, triesLeft]() {
        if (QWidget *open = find())
            answer(open);
        else if (triesLeft > 0)
            answerWhenOpen(find, answer, triesLeft - 1);
    });
}

// `answer` gets the next modal dialog and must close it.
inline void answerNextModal(std::function<void(QWidget *)> answer)
{
    answerWhenOpen(&QApplication::activeModalWidget, answer, 200);
}

inline void newContestFromMenu(QWidget *window, const QString &name, const QString &home)
{
    answerNextModal([name, home](QWidget *modal) {
        child<QLineEdit>(modal, "basenameLE")->setText(name);
        child<QLineEdit>(modal, "pathLE")->setText(home);
        clickButton(modal, "okPB");
    });
    child<QAction>(window, "newGameAct")->trigger();
}

struct Answered {
    QString title;
    QString text;
};

// Presses `button` in the next message box, keeping what it said in seen (if given).
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
                   });
}

// Right-clicks item (the empty space below the items for none), returns the menu's entries and
// chooses pick with the keyboard, or closes the menu when it has no such entry.
inline QStringList treeContextMenu(QTreeWidget *view, QTreeWidgetItem *item,
                                   const QString &pick = QString())
{
    QStringList offered;
    answerWhenOpen([] { return qobject_cast<QMenu *>(QApplication::activePopupWidget()); },
                   [pick, &offered](QWidget *open) {
                       auto *menu = static_cast<QMenu *>(open);
                       QAction *chosen = nullptr;
                       for (QAction *entry : menu->actions()) {
                           offered << entry->text();
                           if (!chosen && entry->text() == pick)
                               chosen = entry;
                       }
                       if (!chosen) {
                           menu->close();
                           return;
                       }
                       menu->setActiveAction(chosen);
                       QTest::keyClick(menu, Qt::Key_Return);
                   });
    const QPoint pos =
        item ? view->visualItemRect(item).center() : QPoint(5, view->viewport()->height() - 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, view->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(view->viewport(), &event);
    return offered;
}

#endif
