#pragma once

#include "capture/Selection.h"

#include <QList>
#include <QObject>
#include <QPointer>

namespace tavolen::platform {
class ScreenGrabber;
class WindowList;
} // namespace tavolen::platform

namespace tavolen::capture {

class OverlayWindow;
class SelectionView;

// Lets the user pick a window or drag a region on any screen: one overlay
// window per screen while a selection is in progress, none otherwise.
class SelectionOverlay final : public QObject, public Selector {
    Q_OBJECT
public:
    // Both services must outlive the overlay.
    SelectionOverlay(platform::WindowList &windows, platform::ScreenGrabber &grabber,
                     QObject *parent = nullptr);
    ~SelectionOverlay() override;

    void begin(SelectionCompletion completion) override;

    bool isSelecting() const { return !m_windows.isEmpty(); }
    // The windows shown, in the order of QGuiApplication::screens().
    QList<OverlayWindow *> windows() const;

private:
    void pointerOn(SelectionView *here);
    void finish(std::optional<Selection> outcome);
    void closeWindows();

    platform::WindowList &m_windowList;
    platform::ScreenGrabber &m_grabber;
    QList<QPointer<OverlayWindow>> m_windows;
    SelectionCompletion m_completion;
};

} // namespace tavolen::capture
