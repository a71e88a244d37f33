#include "platform/x11/X11ScreenGrabber.h"

#include "platform/x11/X11Connection.h"

#include <xcb/shm.h>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>

namespace tavolen::platform::x11 {

namespace {

// Only the layout every current server uses is understood: 24 or 32 bits of
// depth stored as 32-bit little-endian words, red in the high byte. That is
// exactly QImage::Format_RGB32, so no conversion is needed.
bool rootIsRgb32(xcb_connection_t *c)
{
    const xcb_setup_t *setup = xcb_get_setup(c);
    const xcb_screen_t *screen = xcb_setup_roots_iterator(setup).data;
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST ||
        (screen->root_depth != 24 && screen->root_depth != 32))
        return false;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it)) {
        if (it.data->depth == screen->root_depth)
            return it.data->bits_per_pixel == 32;
    }
    return false;
}

QRect rootBounds(xcb_connection_t *c, xcb_window_t root)
{
    // Asked every time: xrandr may have resized the desktop since start-up.
    xcb_get_geometry_reply_t *g = xcb_get_geometry_reply(c, xcb_get_geometry(c, root), nullptr);
    if (!g)
        return {};
    const QRect bounds(0, 0, g->width, g->height);
    std::free(g);
    return bounds;
}

struct ShmSegment {
    xcb_connection_t *connection;
    xcb_shm_seg_t segment;
    void *memory;
};

void releaseShm(void *info)
{
    auto *s = static_cast<ShmSegment *>(info);
    xcb_shm_detach(s->connection, s->segment);
    xcb_flush(s->connection);
    shmdt(s->memory);
    delete s;
}

std::optional<QImage> grabShm(xcb_connection_t *c, xcb_window_t root, QRect r)
{
    const size_t size = size_t(r.width()) * size_t(r.height()) * 4;
    const int id = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
    if (id < 0)
        return std::nullopt;
    void *memory = shmat(id, nullptr, 0);
    if (memory == reinterpret_cast<void *>(-1)) {
        shmctl(id, IPC_RMID, nullptr);
        return std::nullopt;
    }
    const xcb_shm_seg_t segment = xcb_generate_id(c);
    xcb_generic_error_t *error = xcb_request_check(c, xcb_shm_attach_checked(c, segment, uint32_t(id), 0));
    // Once both sides are attached the id is no longer needed; marking it now
    // frees the memory even if this process dies mid-grab.
    shmctl(id, IPC_RMID, nullptr);
    if (error) {
        std::free(error);
        shmdt(memory);
        return std::nullopt;
    }
    auto *info = new ShmSegment{c, segment, memory};
    xcb_shm_get_image_reply_t *reply = xcb_shm_get_image_reply(
        c,
        xcb_shm_get_image(c, root, int16_t(r.x()), int16_t(r.y()), uint16_t(r.width()), uint16_t(r.height()),
                          ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, segment, 0),
        nullptr);
    if (!reply) {
        releaseShm(info);
        return std::nullopt;
    }
    std::free(reply);
    return QImage(static_cast<uchar *>(memory), r.width(), r.height(), r.width() * 4, QImage::Format_RGB32,
                  releaseShm, info);
}

std::optional<QImage> grabPlain(xcb_connection_t *c, xcb_window_t root, QRect r)
{
    xcb_get_image_reply_t *reply =
        xcb_get_image_reply(c,
                            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, int16_t(r.x()), int16_t(r.y()),
                                          uint16_t(r.width()), uint16_t(r.height()), ~0u),
                            nullptr);
    if (!reply)
        return std::nullopt;
    if (xcb_get_image_data_length(reply) < r.width() * r.height() * 4) {
        std::free(reply);
        return std::nullopt;
    }
    // The image reads the reply's bytes in place and frees the reply with it.
    return QImage(xcb_get_image_data(reply), r.width(), r.height(), r.width() * 4, QImage::Format_RGB32,
                  std::free, reply);
}

} // namespace

X11ScreenGrabber::X11ScreenGrabber() : m_connection(qtConnection())
{}

void X11ScreenGrabber::prepare()
{
    std::call_once(m_prepared, [this] {
        xcb_connection_t *c = m_connection;
        if (!c)
            return;
        const xcb_query_extension_reply_t *ext = xcb_get_extension_data(c, &xcb_shm_id);
        if (!ext || !ext->present)
            return;
        if (auto *version = xcb_shm_query_version_reply(c, xcb_shm_query_version(c), nullptr)) {
            m_shm = true;
            std::free(version);
        }
    });
}

std::optional<QImage> X11ScreenGrabber::grab(QRect nativeRect)
{
    prepare();
    xcb_connection_t *c = m_connection;
    const xcb_window_t root = rootWindow(c);
    if (!root || !rootIsRgb32(c))
        return std::nullopt;
    const QRect r = nativeRect.intersected(rootBounds(c, root));
    if (r.isEmpty())
        return std::nullopt;
    if (m_shm) {
        if (auto image = grabShm(c, root, r))
            return image;
    }
    return grabPlain(c, root, r);
}

bool X11ScreenGrabber::translucencyShowsDesktop() const
{
    xcb_connection_t *c = m_connection;
    if (!c)
        return false;
    // A compositing manager owns this selection for the screen it composites.
    xcb_get_selection_owner_reply_t *owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom(c, "_NET_WM_CM_S0")), nullptr);
    const bool composited = owner && owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    return composited;
}

} // namespace tavolen::platform::x11
