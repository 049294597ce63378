#include "support/editor/MessageBoxCloser.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace testsupport {

MessageBoxCloser::MessageBoxCloser(QObject *parent)
    : QObject(parent)
{
    auto *timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &MessageBoxCloser::poll);
    timer->start(10);
}

void MessageBoxCloser::poll()
{
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget *w : widgets) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (box && box->isVisible()) {
            m_texts << box->text();
            box->done(QMessageBox::Ok);
        }
    }
}

} // namespace testsupport
