// JPEG through libjpeg. Its errors jump back here with longjmp, so everything that must survive
// the jump lives in the heap-held Decoding record, never in locals changed after setjmp.
#include "internal/gdi/image_decode.h"

#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>
#include <jerror.h>

namespace kv::images {
namespace {

// More scans than any real progressive file has; damaged files can ask for endless ones.
constexpr int kMaxScans = 256;

struct Decoding {
  jpeg_decompress_struct info{};
  jpeg_error_mgr error{};
  jpeg_progress_mgr progress{};
  std::jmp_buf jump;
  bool truncated = false;
  Image image;
};

Decoding& Of(j_common_ptr info) { return *static_cast<Decoding*>(info->client_data); }

void OnError(j_common_ptr info) { std::longjmp(Of(info).jump, 1); }

void OnMessage(j_common_ptr info, int level)
{
  // A file cut short decodes to grey; it counts as a failure here.
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
    Of(info).truncated = true;
}

void OnProgress(j_common_ptr info)
{
  auto* d = reinterpret_cast<j_decompress_ptr>(info);
  if (d->input_scan_number > kMaxScans)
    std::longjmp(Of(info).jump, 1);
}

// Decodes into d.image; false on any failure. Nothing here may need unwinding.
bool Run(Decoding& d, std::span<const uint8_t> bytes)
{
  if (setjmp(d.jump))
    return false;
  d.info.client_data = &d;  // kept by the create call, needed by its errors
  jpeg_create_decompress(&d.info);
  d.info.progress = &d.progress;
  jpeg_mem_src(&d.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(&d.info, TRUE) != JPEG_HEADER_OK)
    return false;
  if (!SizeAllowed(d.info.image_width, d.info.image_height))
    return false;
  d.info.out_color_space = JCS_EXT_BGRA;
  jpeg_start_decompress(&d.info);
  d.image.width = static_cast<int>(d.info.output_width);
  d.image.height = static_cast<int>(d.info.output_height);
  d.image.pixels.resize(static_cast<size_t>(d.image.width) * d.image.height);
  while (d.info.output_scanline < d.info.output_height) {
    auto* row = reinterpret_cast<JSAMPLE*>(&d.image.pixels[static_cast<size_t>(d.info.output_scanline) * d.image.width]);
    jpeg_read_scanlines(&d.info, &row, 1);
  }
  jpeg_finish_decompress(&d.info);
  return !d.truncated;
}

}  // namespace

std::optional<Image> DecodeJpeg(std::span<const uint8_t> bytes)
{
  if (bytes.empty())
    return std::nullopt;
  auto d = std::make_unique<Decoding>();
  d->info.err = jpeg_std_error(&d->error);
  d->error.error_exit = OnError;
  d->error.emit_message = OnMessage;
  d->progress.progress_monitor = OnProgress;
  const bool ok = Run(*d, bytes);
  jpeg_destroy_decompress(&d->info);
  if (!ok)
    return std::nullopt;
  return std::move(d->image);
}

}  // namespace kv::images
