#ifndef TALDON_TESTS_APP_MODALANSWER_H
#define TALDON_TESTS_APP_MODALANSWER_H

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Answers the next modal dialog: once one is open (the caller is about to block in its exec),
// `answer` gets it and must close it. Polls, because the dialog opens inside the caller's
// nested event loop.
inline void answerNextModal(std::function<void(QWidget *)> answer, int triesLeft = 200)
{
    QTimer::singleShot(10, [answer, triesLeft]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal)
            answer(modal);
        else if (triesLeft > 0)
            answerNextModal(answer, triesLeft - 1);
    });
}

#endif
