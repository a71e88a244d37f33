// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/JpegDecoding.h"

#include <leptonica/allheaders.h>

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE
#include <jpeglib.h>

namespace tavolen::service {

namespace {

struct QuietErrors {
    jpeg_error_mgr manager;
    std::jmp_buf failed;
};

[[noreturn]] void giveUp(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<QuietErrors *>(info->err)->failed, 1);
}

void sayNothing(j_common_ptr, int)
{}

void writeNothing(j_common_ptr)
{}

// Nothing with a destructor lives here: a failure leaves by longjmp.
Pix *read(const QByteArray &jpeg, bool decode, QSize *size)
{
    jpeg_decompress_struct info{};
    QuietErrors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = giveUp;
    errors.manager.emit_message = sayNothing;
    errors.manager.output_message = writeNothing;
    Pix *volatile pix = nullptr;
    if (setjmp(errors.failed)) {
        jpeg_destroy_decompress(&info);
        Pix *partial = pix;
        pixDestroy(&partial);
        return nullptr;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(jpeg.constData()),
                 static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    *size = QSize(int(info.image_width), int(info.image_height));
    if (!decode) {
        jpeg_destroy_decompress(&info);
        return nullptr;
    }
    info.out_color_space = JCS_GRAYSCALE;
    jpeg_start_decompress(&info);
    const int width = int(info.output_width);
    pix = pixCreate(width, int(info.output_height), 8);
    if (!pix)
        giveUp(reinterpret_cast<j_common_ptr>(&info));
    JSAMPARRAY row =
        (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, JDIMENSION(width), 1);
    l_uint32 *data = pixGetData(pix);
    const int wpl = pixGetWpl(pix);
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        if (jpeg_read_scanlines(&info, row, 1) != 1)
            break;
        l_uint32 *line = data + y * wpl;
        for (int x = 0; x < width; ++x)
            SET_DATA_BYTE(line, x, row[0][x]);
    }
    // A picture cut short reads as far as it goes, like any other reader.
    jpeg_abort_decompress(&info);
    jpeg_destroy_decompress(&info);
    return pix;
}

} // namespace

std::optional<QSize> jpegSize(const QByteArray &jpeg)
{
    if (jpeg.isEmpty())
        return std::nullopt;
    QSize size;
    read(jpeg, false, &size);
    if (size.width() <= 0 || size.height() <= 0)
        return std::nullopt;
    return size;
}

Pix *decodeGreyJpeg(const QByteArray &jpeg)
{
    if (jpeg.isEmpty())
        return nullptr;
    QSize size;
    return read(jpeg, true, &size);
}

} // namespace tavolen::service
