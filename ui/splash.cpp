#include "ui/splash.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {

TfrmSplash::TfrmSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Tarvex Quillon"));
    setFixedSize(407, 243);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QPixmap(QStringLiteral(":/images/splash.png")));
    Image1->setScaledContents(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Image1);

    if (const QScreen* screen = QGuiApplication::primaryScreen(); screen != nullptr)
        move(screen->availableGeometry().center() - rect().center());

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kInterval);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    Timer1->start();
}

bool TfrmSplash::CloseQuery() const { return !Timer1->isActive(); }

void TfrmSplash::Timer1Timer() { Timer1->stop(); }

void TfrmSplash::closeEvent(QCloseEvent* event)
{
    if (CloseQuery())
        event->accept();
    else
        event->ignore();
}

void RunSplash(TfrmSplash& splash)
{
    splash.show();
    // Wait for events rather than spin: the timer's own event ends the wait.
    while (!splash.CloseQuery()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    splash.close();
}

}  // namespace quillon
