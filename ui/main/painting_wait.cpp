#include "ui/main/painting_wait.h"

#include <QApplication>
#include <QThread>

void PaintingWait::KeepPainting() {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    QThread::msleep(2);
}
