#include "app/window_places.h"

#include <QWidget>

TWindowPlace PlaceOf(const QWidget& window) {
    TWindowPlace place;
    if (window.windowState() & Qt::WindowMinimized)
        place.State = TWindowState::Minimized;
    else if (window.windowState() & Qt::WindowMaximized)
        place.State = TWindowState::Maximized;
    place.Left = window.x();
    place.Top = window.y();
    place.Width = window.width();
    place.Height = window.height();
    return place;
}

void ShowWindowState(QWidget& window, TWindowState state) {
    if (state == TWindowState::Maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    else if (state == TWindowState::Minimized)
        window.setWindowState(window.windowState() | Qt::WindowMinimized);
}
