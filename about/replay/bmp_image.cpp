#include "bmp_image.h"

#include <cstring>

#include "ripple.h"

namespace quilvane::about {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;  // the old OS/2 layout with 16-bit sizes
constexpr std::uint32_t kInfoHeaderSize = 40;

std::uint32_t Little(std::string_view bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

void PutLittle(std::string& out, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
}

Status Refuse(const char* reason) { return Status::Fail(reason); }

}  // namespace

Result<Picture> DecodeBmp(std::string_view bytes) {
    if (bytes.size() < kFileHeaderSize + 4 || bytes.substr(0, 2) != "BM") return Refuse("不是 BMP 图片");
    const std::uint32_t pixelsAt = Little(bytes, 10, 4);
    const std::uint32_t headerSize = Little(bytes, kFileHeaderSize, 4);
    const bool core = headerSize == kCoreHeaderSize;
    if (!core && headerSize < kInfoHeaderSize) return Refuse("BMP 图片的信息头无法识别");
    if (bytes.size() < kFileHeaderSize + (core ? kCoreHeaderSize : kInfoHeaderSize)) return Refuse("BMP 图片不完整");
    const std::size_t info = kFileHeaderSize;
    std::int64_t width, height;
    std::uint32_t planes, bitsPerPixel, compression = 0;
    if (core) {
        width = Little(bytes, info + 4, 2);
        height = Little(bytes, info + 6, 2);
        planes = Little(bytes, info + 8, 2);
        bitsPerPixel = Little(bytes, info + 10, 2);
    } else {
        width = static_cast<std::int32_t>(Little(bytes, info + 4, 4));
        height = static_cast<std::int32_t>(Little(bytes, info + 8, 4));
        planes = Little(bytes, info + 12, 2);
        bitsPerPixel = Little(bytes, info + 14, 2);
        compression = Little(bytes, info + 16, 4);
    }
    if (bitsPerPixel != 24) return Status::Fail("不是 24 位图片（本图每像素 " + std::to_string(bitsPerPixel) + " 位）");
    if (compression != 0 || planes != 1) return Refuse("是压缩的或无法识别的 BMP 图片");
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0) return Refuse("图片的宽度或高度为 0");
    if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels)
        return Status::Fail("图片太大（最多 " + std::to_string(kMaxPictureSide) + " 像素宽高、共 " +
                            std::to_string(kMaxPicturePixels) + " 个像素）");

    Picture picture;
    picture.width = static_cast<std::int32_t>(width);
    picture.height = static_cast<std::int32_t>(height);
    const std::size_t stride = static_cast<std::size_t>(RippleStride(picture.width));
    const std::size_t rows = static_cast<std::size_t>(picture.height);
    if (pixelsAt > bytes.size() || bytes.size() - pixelsAt < stride * rows) return Refuse("BMP 图片不完整");
    picture.pixels.assign(stride * rows, 0);
    const std::size_t used = static_cast<std::size_t>(picture.width) * 3;  // the padding stays 0
    for (std::size_t row = 0; row < rows; ++row) {
        const std::size_t stored = topDown ? row : rows - 1 - row;
        std::memcpy(picture.pixels.data() + row * stride, bytes.data() + pixelsAt + stored * stride, used);
    }
    return picture;
}

std::string EncodeBmp(const Picture& picture) {
    const std::size_t stride = static_cast<std::size_t>(RippleStride(picture.width));
    const std::size_t rows = static_cast<std::size_t>(picture.height);
    const std::uint32_t pixelsAt = kFileHeaderSize + kInfoHeaderSize;
    const auto imageSize = static_cast<std::uint32_t>(stride * rows);
    std::string out = "BM";
    PutLittle(out, pixelsAt + imageSize, 4);
    PutLittle(out, 0, 4);
    PutLittle(out, pixelsAt, 4);
    PutLittle(out, kInfoHeaderSize, 4);
    PutLittle(out, static_cast<std::uint32_t>(picture.width), 4);
    PutLittle(out, static_cast<std::uint32_t>(picture.height), 4);
    PutLittle(out, 1, 2);   // planes
    PutLittle(out, 24, 2);  // bits per pixel
    PutLittle(out, 0, 4);   // no compression
    PutLittle(out, imageSize, 4);
    PutLittle(out, 2835, 4);  // 72 dots per inch, in dots per metre
    PutLittle(out, 2835, 4);
    PutLittle(out, 0, 4);
    PutLittle(out, 0, 4);
    out.reserve(out.size() + imageSize);
    for (std::size_t row = rows; row-- > 0;)  // the bottom row first
        out.append(reinterpret_cast<const char*>(picture.pixels.data() + row * stride), stride);
    return out;
}

}  // namespace quilvane::about
