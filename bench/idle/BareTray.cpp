// SPDX-License-Identifier: MIT
// The yardstick of the idle-footprint measurement: the least a Qt tray program can be, an icon
// whose tooltip changes once a second.
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::transparent);
    QPainter(&pixmap).fillRect(4, 4, 14, 14, Qt::darkGray);
    QSystemTrayIcon icon{QIcon(pixmap)};
    icon.show();
    int seconds = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { icon.setToolTip(QString::number(++seconds)); });
    tick.start(1000);
    return QApplication::exec();
}
