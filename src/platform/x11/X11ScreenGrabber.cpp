// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/x11/X11ScreenGrabber.h"

#include "platform/x11/X11Connection.h"
#include "platform/x11/XcbReply.h"

#include <xcb/shm.h>

#include <sys/ipc.h>
#include <sys/shm.h>

namespace tavolen::platform::x11 {

namespace {

const xcb_visualtype_t *rootVisual(const xcb_screen_t *screen)
{
    for (auto d = xcb_screen_allowed_depths_iterator(screen); d.rem; xcb_depth_next(&d)) {
        for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v)) {
            if (v.data->visual_id == screen->root_visual)
                return v.data;
        }
    }
    return nullptr;
}

QRect rootBounds(xcb_connection_t *c, xcb_window_t root)
{
    // Asked every time: xrandr may have resized the desktop since start-up.
    const XcbReply<xcb_get_geometry_reply_t> g(xcb_get_geometry_reply(c, xcb_get_geometry(c, root), nullptr));
    return g ? QRect(0, 0, g->width, g->height) : QRect();
}

// The pixels in `data` as an image; `release(info)` frees them once the
// image no longer needs them: with the image when it reads them in place,
// at once when they had to be converted.
std::optional<QImage> imageOf(uchar *data, QSize size, const PixelLayout &layout,
                              QImageCleanupFunction release, void *info)
{
    const QImage::Format format = directFormat(layout);
    if (format != QImage::Format_Invalid)
        return QImage(data, size.width(), size.height(), layout.bytesPerLine(size.width()), format, release,
                      info);
    QImage converted = convertToRgb32(data, size, layout);
    release(info);
    if (converted.isNull())
        return std::nullopt;
    return converted;
}

struct ShmSegment {
    xcb_connection_t *connection;
    xcb_shm_seg_t segment;
    void *memory;
    size_t size;
    std::shared_ptr<X11ScreenGrabber::SegmentPool> pool;
};

void destroySegment(ShmSegment *s)
{
    xcb_shm_detach(s->connection, s->segment);
    xcb_flush(s->connection);
    shmdt(s->memory);
    delete s;
}

} // namespace

// At most one segment, not lent to an image, waiting for the next grab.
struct X11ScreenGrabber::SegmentPool {
    std::mutex mutex;
    ShmSegment *spare = nullptr;

    ~SegmentPool()
    {
        if (spare)
            destroySegment(spare);
    }
    ShmSegment *take(size_t size)
    {
        std::lock_guard lock(mutex);
        ShmSegment *s = std::exchange(spare, nullptr);
        if (s && s->size < size) {
            destroySegment(s);
            return nullptr;
        }
        return s;
    }
    // Keeps `s` as the spare unless one is kept already.
    void giveBack(ShmSegment *s)
    {
        std::lock_guard lock(mutex);
        if (!spare)
            spare = s;
        else
            destroySegment(s);
    }
    void clear()
    {
        std::lock_guard lock(mutex);
        if (spare)
            destroySegment(std::exchange(spare, nullptr));
    }
};

namespace {

void returnShm(void *info)
{
    auto *s = static_cast<ShmSegment *>(info);
    const std::shared_ptr<X11ScreenGrabber::SegmentPool> pool = std::move(s->pool);
    pool->giveBack(s);
}

ShmSegment *newSegment(xcb_connection_t *c, size_t size)
{
    const int id = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
    if (id < 0)
        return nullptr;
    void *memory = shmat(id, nullptr, 0);
    if (memory == reinterpret_cast<void *>(-1)) {
        shmctl(id, IPC_RMID, nullptr);
        return nullptr;
    }
    const xcb_shm_seg_t segment = xcb_generate_id(c);
    const XcbReply<xcb_generic_error_t> error(
        xcb_request_check(c, xcb_shm_attach_checked(c, segment, uint32_t(id), 0)));
    // Once both sides are attached the id is no longer needed; marking it now
    // frees the memory even if this process dies mid-grab.
    shmctl(id, IPC_RMID, nullptr);
    if (error) {
        shmdt(memory);
        return nullptr;
    }
    return new ShmSegment{c, segment, memory, size, nullptr};
}

std::optional<QImage> grabShm(xcb_connection_t *c, xcb_window_t root, QRect r, const PixelLayout &layout,
                              const std::shared_ptr<X11ScreenGrabber::SegmentPool> &pool)
{
    const size_t size = size_t(layout.bytesPerLine(r.width())) * size_t(r.height());
    ShmSegment *s = pool->take(size);
    if (!s)
        s = newSegment(c, size);
    if (!s)
        return std::nullopt;
    const XcbReply<xcb_shm_get_image_reply_t> reply(xcb_shm_get_image_reply(
        c,
        xcb_shm_get_image(c, root, int16_t(r.x()), int16_t(r.y()), uint16_t(r.width()), uint16_t(r.height()),
                          ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, s->segment, 0),
        nullptr));
    if (!reply) {
        destroySegment(s);
        return std::nullopt;
    }
    s->pool = pool;
    return imageOf(static_cast<uchar *>(s->memory), r.size(), layout, returnShm, s);
}

std::optional<QImage> grabPlain(xcb_connection_t *c, xcb_window_t root, QRect r, const PixelLayout &layout)
{
    XcbReply<xcb_get_image_reply_t> reply(
        xcb_get_image_reply(c,
                            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, int16_t(r.x()), int16_t(r.y()),
                                          uint16_t(r.width()), uint16_t(r.height()), ~0u),
                            nullptr));
    if (!reply ||
        xcb_get_image_data_length(reply.get()) < qint64(layout.bytesPerLine(r.width())) * r.height())
        return std::nullopt;
    // The image reads the reply's bytes in place and frees the reply with it.
    uchar *data = xcb_get_image_data(reply.get());
    return imageOf(data, r.size(), layout, std::free, reply.release());
}

} // namespace

std::optional<PixelLayout> rootPixelLayout(xcb_connection_t *c)
{
    if (!c)
        return std::nullopt;
    const xcb_setup_t *setup = xcb_get_setup(c);
    const xcb_screen_t *screen = xcb_setup_roots_iterator(setup).data;
    const xcb_visualtype_t *visual = rootVisual(screen);
    // Palette visuals store indices, not colours. A DirectColor screen's
    // per-colour maps are read as the identity they almost always are.
    if (!visual ||
        (visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR && visual->_class != XCB_VISUAL_CLASS_DIRECT_COLOR))
        return std::nullopt;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it)) {
        if (it.data->depth == screen->root_depth) {
            PixelLayout layout{it.data->bits_per_pixel, it.data->scanline_pad,
                               visual->red_mask,        visual->green_mask,
                               visual->blue_mask,       setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST};
            if (layout.bitsPerPixel % 8 != 0 || layout.bitsPerPixel < 8 || layout.bitsPerPixel > 32)
                return std::nullopt;
            return layout;
        }
    }
    return std::nullopt;
}

X11ScreenGrabber::X11ScreenGrabber()
    : m_connection(qtConnection()), m_layout(rootPixelLayout(m_connection)),
      m_pool(std::make_shared<SegmentPool>())
{}

void X11ScreenGrabber::releaseSpareMemory()
{
    m_pool->clear();
}

void X11ScreenGrabber::prepare()
{
    std::call_once(m_prepared, [this] {
        xcb_connection_t *c = m_connection;
        if (!c)
            return;
        const xcb_query_extension_reply_t *ext = xcb_get_extension_data(c, &xcb_shm_id);
        if (!ext || !ext->present)
            return;
        if (XcbReply<xcb_shm_query_version_reply_t>(
                xcb_shm_query_version_reply(c, xcb_shm_query_version(c), nullptr)))
            m_shm = true;
    });
}

std::optional<QImage> X11ScreenGrabber::grab(QRect nativeRect)
{
    prepare();
    xcb_connection_t *c = m_connection;
    const xcb_window_t root = rootWindow(c);
    if (!root || !m_layout)
        return std::nullopt;
    const QRect r = nativeRect.intersected(rootBounds(c, root));
    if (r.isEmpty())
        return std::nullopt;
    if (m_shm) {
        if (auto image = grabShm(c, root, r, *m_layout, m_pool))
            return image;
    }
    return grabPlain(c, root, r, *m_layout);
}

std::optional<PaletteDisplay> X11ScreenGrabber::unsupportedDisplay() const
{
    if (!m_connection || m_layout)
        return std::nullopt;
    return PaletteDisplay{xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root_depth};
}

bool X11ScreenGrabber::translucencyShowsDesktop() const
{
    return hasCompositor(m_connection);
}

} // namespace tavolen::platform::x11
