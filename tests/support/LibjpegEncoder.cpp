#include "LibjpegEncoder.h"

#include <cstdlib>

namespace halvera::testing {

std::vector<uint8_t>
EncodeWithLibjpeg(int width, int height, J_COLOR_SPACE space, int components,
                  const std::vector<uint8_t>& samples,
                  const std::function<void(jpeg_compress_struct&)>& configure) {
    jpeg_compress_struct encoder{};
    jpeg_error_mgr errors{};
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&encoder, &buffer, &size);
    encoder.image_width = static_cast<JDIMENSION>(width);
    encoder.image_height = static_cast<JDIMENSION>(height);
    encoder.input_components = components;
    encoder.in_color_space = space;
    jpeg_set_defaults(&encoder);
    jpeg_set_quality(&encoder, 100, TRUE);
    if (configure)
        configure(encoder);
    jpeg_start_compress(&encoder, TRUE);
    const size_t rowBytes = static_cast<size_t>(width) * components;
    while (encoder.next_scanline < encoder.image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(samples.data() + rowBytes * encoder.next_scanline);
        jpeg_write_scanlines(&encoder, &row, 1);
    }
    jpeg_finish_compress(&encoder);
    jpeg_destroy_compress(&encoder);
    std::vector<uint8_t> file(buffer, buffer + size);
    std::free(buffer);
    return file;
}

} // namespace halvera::testing
