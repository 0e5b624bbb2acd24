#ifndef TALDON_TESTS_PAGES_PAGEUI_H
#define TALDON_TESTS_PAGES_PAGEUI_H

// What the page, window and journey tests do to the real widgets, as a user would.

#include "ctaskinfo.h"
#include "filedialogs.h"

#include "common/modalanswer.h"
#include "common/testfiles.h"
#include "common/widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

inline void clickButton(QWidget *parent, const char *name)
{
    QTest::mouseClick(child<QPushButton>(parent, name), Qt::LeftButton);
}

// Clicks a check box on its indicator: the box may be wider than what it reacts to.
inline void clickBox(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

inline void clickItem(QTreeWidget *view, QTreeWidgetItem *item)
{
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(item).center());
}

// Replaces the text of a line edit or spin box as a user would: select all, type.
inline void type(QWidget *field, const QString &text)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    // One key event carries the whole text, as an input method sends Chinese.
    if (!text.isEmpty())
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, text, Qt::NoModifier);
    else
        QTest::keyClick(field, Qt::Key_Delete);
}

// Types and confirms with Enter, which is when the task form takes a value.
inline void retype(QWidget *field, const QString &text)
{
    type(field, text);
    QTest::keyClick(field, Qt::Key_Enter);
}

// Moves a combo box from its first entry down to entry `index` with the arrow key.
inline void chooseByKeys(QComboBox *box, int index)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(box, Qt::Key_Down);
}

// The texts of a table column, "<none>" for a cell without an item.
inline QStringList column(const QTableWidget *table, int c)
{
    QStringList texts;
    for (int r = 0; r < table->rowCount(); ++r)
        texts << (table->item(r, c) ? table->item(r, c)->text() : QStringLiteral("<none>"));
    return texts;
}

// The row whose column c reads text, -1 for none.
inline int rowWith(const QTableWidget *table, int c, const QString &text)
{
    return column(table, c).indexOf(text);
}

// The marks of the task's test points, in order.
inline QList<int> marksOf(const CTaskInfo *task)
{
    QList<int> marks;
    for (int i = 1; i <= task->getSamplenum(); ++i)
        marks << task->getSampleMark(i);
    return marks;
}

inline QStringList headerTexts(const QTableWidget *table)
{
    QStringList texts;
    for (int c = 0; c < table->columnCount(); ++c)
        texts << table->horizontalHeaderItem(c)->text();
    return texts;
}

// Enters the tab of the window's tab widget: pages set themselves up again on entering.
inline void enterTab(QWidget *window, int index)
{
    auto *tabs = child<QTabWidget>(window, "tabWidget");
    tabs->setCurrentIndex(index == 0 ? 1 : 0);
    tabs->setCurrentIndex(index);
}

// The save dialog answers path when asked for a CSV file; proposed keeps the file it proposed.
inline void answerSaveDialog(const QString &path, QString *proposed = nullptr)
{
    FileDialogs::replaceSaveFileName([path, proposed](QWidget *, const QString &caption,
                                                      const QString &dir, const QString &filter) {
        if (proposed)
            *proposed = dir;
        return caption == QStringLiteral("Save as") && filter == QStringLiteral("CSV (*.csv)")
                   ? path
                   : QString();
    });
}

#endif
