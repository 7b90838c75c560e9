#include "made_pictures.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include <webp/encode.h>
#include <webp/mux.h>

namespace madepics {
namespace {

void putBe32(Bytes& b, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<std::uint8_t>(v >> s));
}
void putLe(Bytes& b, std::uint32_t v, int n) {
  for (int i = 0; i < n; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

int channelsOf(int colourType) {
  switch (colourType) {
    case 2:
      return 3;
    case 4:
      return 2;
    case 6:
      return 4;
    default:
      return 1;
  }
}

// One row of `count` pixels starting at sample index `first`, stepping
// `step` pixels, packed at the bit depth (MSB first below 8 bits).
Bytes packRow(const PngSpec& s, const std::vector<std::uint16_t>& samples, std::size_t first, int count, int step) {
  const int ch = channelsOf(s.colourType);
  Bytes row;
  int acc = 0;
  int bits = 0;
  for (int i = 0; i < count; ++i) {
    for (int c = 0; c < ch; ++c) {
      const std::uint16_t v = samples.at((first + static_cast<std::size_t>(i) * static_cast<std::size_t>(step)) *
                                             static_cast<std::size_t>(ch) +
                                         static_cast<std::size_t>(c));
      if (s.bitDepth == 16) {
        row.push_back(static_cast<std::uint8_t>(v >> 8));
        row.push_back(static_cast<std::uint8_t>(v));
      } else if (s.bitDepth == 8) {
        row.push_back(static_cast<std::uint8_t>(v));
      } else {
        acc = (acc << s.bitDepth) | (v & ((1 << s.bitDepth) - 1));
        bits += s.bitDepth;
        if (bits == 8) {
          row.push_back(static_cast<std::uint8_t>(acc));
          acc = bits = 0;
        }
      }
    }
  }
  if (bits > 0) row.push_back(static_cast<std::uint8_t>(acc << (8 - bits)));
  return row;
}

int paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a);
  const int pb = std::abs(p - b);
  const int pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// Appends the rows of one (sub-)image, every third row Paeth-filtered.
void appendRows(const PngSpec& s, const std::vector<std::uint16_t>& samples, int x0, int y0, int dx, int dy, Bytes& out,
                bool filters) {
  const int w = (s.width - x0 + dx - 1) / dx;
  const int h = (s.height - y0 + dy - 1) / dy;
  if (w <= 0 || h <= 0) return;
  const int bpp = std::max(1, channelsOf(s.colourType) * s.bitDepth / 8);
  Bytes prior;
  for (int r = 0; r < h; ++r) {
    const int y = y0 + r * dy;
    Bytes row =
        packRow(s, samples,
                static_cast<std::size_t>(y) * static_cast<std::size_t>(s.width) + static_cast<std::size_t>(x0), w, dx);
    if (prior.empty()) prior.assign(row.size(), 0);
    if (filters && r % 3 == 2) {
      out.push_back(4);
      for (std::size_t i = 0; i < row.size(); ++i) {
        const int a = i >= static_cast<std::size_t>(bpp) ? row[i - static_cast<std::size_t>(bpp)] : 0;
        const int c = i >= static_cast<std::size_t>(bpp) ? prior[i - static_cast<std::size_t>(bpp)] : 0;
        out.push_back(static_cast<std::uint8_t>(row[i] - paeth(a, prior[i], c)));
      }
    } else {
      out.push_back(0);
      out.insert(out.end(), row.begin(), row.end());
    }
    prior = std::move(row);
  }
}

Bytes rgbaOf(int w, int h, std::uint32_t seed) {
  Bytes px(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
  for (std::size_t i = 0; i < px.size(); i += 4) {
    const auto p = static_cast<std::uint32_t>(i / 4) * 2654435761u + seed;
    px[i] = static_cast<std::uint8_t>(p >> 8);
    px[i + 1] = static_cast<std::uint8_t>(p >> 16);
    px[i + 2] = static_cast<std::uint8_t>(p >> 24);
    px[i + 3] = (i / 4) % 7 == 0 ? 0 : 255;
  }
  return px;
}

}  // namespace

Bytes pngChunk(const std::string& type, const Bytes& data) {
  Bytes b;
  putBe32(b, static_cast<std::uint32_t>(data.size()));
  b.insert(b.end(), type.begin(), type.end());
  b.insert(b.end(), data.begin(), data.end());
  uLong crc = ::crc32(0, reinterpret_cast<const Bytef*>(type.data()), 4);
  if (!data.empty()) crc = ::crc32(crc, data.data(), static_cast<uInt>(data.size()));
  putBe32(b, static_cast<std::uint32_t>(crc));
  return b;
}

Bytes zlibCompress(const Bytes& raw, int level) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes out(size);
  if (compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), level) != Z_OK)
    throw std::runtime_error("compress2");
  out.resize(size);
  return out;
}

Bytes pngScanlines(const PngSpec& spec, const std::vector<std::uint16_t>& samples) {
  Bytes raw;
  appendRows(spec, samples, 0, 0, 1, 1, raw, false);
  return raw;
}

Bytes makePng(const PngSpec& s, const std::vector<std::uint16_t>& samples) {
  Bytes raw;
  if (s.interlaced) {
    static constexpr int kAdam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                         {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    for (const auto& p : kAdam7) appendRows(s, samples, p[0], p[1], p[2], p[3], raw, true);
  } else {
    appendRows(s, samples, 0, 0, 1, 1, raw, true);
  }
  const Bytes z = zlibCompress(raw);
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes ihdr;
  putBe32(ihdr, static_cast<std::uint32_t>(s.width));
  putBe32(ihdr, static_cast<std::uint32_t>(s.height));
  ihdr.insert(ihdr.end(), {static_cast<std::uint8_t>(s.bitDepth), static_cast<std::uint8_t>(s.colourType), 0, 0,
                           static_cast<std::uint8_t>(s.interlaced ? 1 : 0)});
  auto add = [&png](const Bytes& chunk) { png.insert(png.end(), chunk.begin(), chunk.end()); };
  add(pngChunk("IHDR", ihdr));
  for (const auto& [type, data] : s.before) add(pngChunk(type, data));
  if (!s.palette.empty()) add(pngChunk("PLTE", s.palette));
  if (!s.trns.empty()) add(pngChunk("tRNS", s.trns));
  const std::size_t parts = static_cast<std::size_t>(std::max(1, s.idatChunks));
  const std::size_t step = (z.size() + parts - 1) / parts;
  for (std::size_t at = 0; at < z.size(); at += step)
    add(pngChunk("IDAT", Bytes(z.begin() + static_cast<std::ptrdiff_t>(at),
                               z.begin() + static_cast<std::ptrdiff_t>(std::min(z.size(), at + step)))));
  for (const auto& [type, data] : s.after) add(pngChunk(type, data));
  if (s.iend) add(pngChunk("IEND", {}));
  return png;
}

Bytes makeWebpLossless(const Bytes& rgba, int width, int height) {
  std::uint8_t* out = nullptr;
  const std::size_t n = WebPEncodeLosslessRGBA(rgba.data(), width, height, width * 4, &out);
  Bytes b(out, out + n);
  WebPFree(out);
  return b;
}

Bytes makeWebpLossy(const Bytes& rgba, int width, int height, float quality) {
  std::uint8_t* out = nullptr;
  const std::size_t n = WebPEncodeRGBA(rgba.data(), width, height, width * 4, quality, &out);
  Bytes b(out, out + n);
  WebPFree(out);
  return b;
}

Bytes makeWebpAnimation(const std::vector<Bytes>& rgbaFrames, int width, int height) {
  WebPAnimEncoderOptions options;
  WebPAnimEncoderOptionsInit(&options);
  WebPAnimEncoder* enc = WebPAnimEncoderNew(width, height, &options);
  WebPConfig config;
  WebPConfigInit(&config);
  config.lossless = 1;
  int t = 0;
  for (const Bytes& f : rgbaFrames) {
    WebPPicture pic;
    WebPPictureInit(&pic);
    pic.use_argb = 1;
    pic.width = width;
    pic.height = height;
    WebPPictureImportRGBA(&pic, f.data(), width * 4);
    WebPAnimEncoderAdd(enc, &pic, t, &config);
    WebPPictureFree(&pic);
    t += 100;
  }
  WebPAnimEncoderAdd(enc, nullptr, t, nullptr);
  WebPData data;
  WebPDataInit(&data);
  WebPAnimEncoderAssemble(enc, &data);
  Bytes b(data.bytes, data.bytes + data.size);
  WebPDataClear(&data);
  WebPAnimEncoderDelete(enc);
  return b;
}

Bytes webpFile(const std::vector<std::pair<std::string, Bytes>>& chunks) {
  Bytes body = {'W', 'E', 'B', 'P'};
  for (const auto& [type, data] : chunks) {
    body.insert(body.end(), type.begin(), type.end());
    putLe(body, static_cast<std::uint32_t>(data.size()), 4);
    body.insert(body.end(), data.begin(), data.end());
    if (data.size() % 2) body.push_back(0);
  }
  Bytes file = {'R', 'I', 'F', 'F'};
  putLe(file, static_cast<std::uint32_t>(body.size()), 4);
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

std::vector<std::pair<std::string, Bytes>> goodSamples() {
  std::vector<std::pair<std::string, Bytes>> out;
  const int w = 23;
  const int h = 9;
  std::vector<std::uint16_t> rgba16;
  for (int i = 0; i < w * h * 4; ++i) rgba16.push_back(static_cast<std::uint16_t>(i * 2654435761u >> 16));
  std::vector<std::uint16_t> rgba8;
  for (std::uint16_t v : rgba16) rgba8.push_back(v >> 8);
  std::vector<std::uint16_t> idx;
  for (int i = 0; i < w * h; ++i) idx.push_back(static_cast<std::uint16_t>(i % 4));
  out.emplace_back("rgba8.png", makePng({w, h, 8, 6}, rgba8));
  out.emplace_back("rgba16-interlaced.png", makePng({w, h, 16, 6, true}, rgba16));
  PngSpec pal{w, h, 2, 3};
  pal.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};
  pal.trns = {0, 128};
  out.emplace_back("palette2-trns.png", makePng(pal, idx));
  const Bytes px = rgbaOf(w, h, 7);
  out.emplace_back("lossless.webp", makeWebpLossless(px, w, h));
  out.emplace_back("lossy-alpha.webp", makeWebpLossy(px, w, h, 60));
  out.emplace_back("animated.webp", makeWebpAnimation({px, rgbaOf(w, h, 99)}, w, h));
  return out;
}

std::vector<std::pair<std::string, Bytes>> hostileSamples(int bombMiB) {
  std::vector<std::pair<std::string, Bytes>> out;
  std::vector<std::uint16_t> grey(16, 7);
  // A header that asks for 65535 x 65535 over four pixels of data.
  {
    Bytes png = makePng({4, 4, 8, 0}, grey);
    png[16] = png[17] = png[20] = png[21] = 0;
    png[18] = png[19] = png[22] = png[23] = 0xFF;
    const std::uint32_t crc = static_cast<std::uint32_t>(::crc32(0, png.data() + 12, 17));
    for (int i = 0; i < 4; ++i) png[29 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    out.emplace_back("png: IHDR 65535 x 65535", png);
  }
  // A 1000 x 200 grey picture whose one zlib stream goes on with bombMiB MiB
  // of zeros after the rows: what a decoder inflates past the picture is wasted.
  {
    PngSpec s{1000, 200, 8, 0};
    std::vector<std::uint16_t> px(200000, 90);
    const Bytes rows = pngScanlines(s, px);
    z_stream z{};
    deflateInit(&z, 1);
    Bytes comp(std::size_t{4} << 20);
    Bytes zeros(std::size_t{1} << 20, 0);
    z.next_out = comp.data();
    z.avail_out = static_cast<uInt>(comp.size());
    z.next_in = const_cast<Bytef*>(rows.data());
    z.avail_in = static_cast<uInt>(rows.size());
    deflate(&z, Z_NO_FLUSH);
    for (int i = 0; i < bombMiB; ++i) {
      z.next_in = zeros.data();
      z.avail_in = static_cast<uInt>(zeros.size());
      deflate(&z, Z_NO_FLUSH);
    }
    deflate(&z, Z_FINISH);
    comp.resize(z.total_out);
    deflateEnd(&z);
    Bytes png = makePng(s, px);
    const Bytes tail = pngChunk("IEND", {});
    // Replace the IDAT: signature + IHDR chunk (33 bytes), then ours.
    Bytes bomb(png.begin(), png.begin() + 33);
    const Bytes idat = pngChunk("IDAT", comp);
    bomb.insert(bomb.end(), idat.begin(), idat.end());
    bomb.insert(bomb.end(), tail.begin(), tail.end());
    out.emplace_back("png: " + std::to_string(bombMiB) + " MiB of zeros inflating past the picture", bomb);
  }
  // 200 compressed text chunks, each inflating to 8 MB.
  {
    Bytes text = {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 0};
    const Bytes z = zlibCompress(Bytes(std::size_t{8} << 20, 'x'));
    text.insert(text.end(), z.begin(), z.end());
    PngSpec s{4, 4, 8, 0};
    for (int i = 0; i < 200; ++i) s.before.emplace_back("zTXt", text);
    out.emplace_back("png: 200 zTXt chunks of 8 MB each", makePng(s, grey));
  }
  // 100,000 empty ancillary chunks before the image.
  {
    PngSpec s{4, 4, 8, 0};
    for (int i = 0; i < 100000; ++i) s.before.emplace_back("tEXt", Bytes{'a', 0});
    out.emplace_back("png: 100,000 chunks", makePng(s, grey));
  }
  {
    Bytes png = makePng({4, 4, 8, 0}, grey);
    png[png.size() - 14] ^= 0xFF;  // inside the IDAT's CRC
    out.emplace_back("png: IDAT with a wrong CRC", png);
    const Bytes whole = makePng({300, 100, 8, 2}, std::vector<std::uint16_t>(90000, 33));
    out.emplace_back("png: cut inside the IDAT",
                     Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2)));
  }
  // WebP: a VP8X canvas of 16777216 x 16777216, a lossy picture cut in half,
  // a frame that lies outside its canvas.
  {
    const Bytes lossless = makeWebpLossless(rgbaOf(4, 4, 1), 4, 4);
    const std::size_t vp8lSize = lossless[16] | (lossless[17] << 8u) | (lossless[18] << 16u);
    Bytes vp8l(lossless.begin() + 20, lossless.begin() + 20 + static_cast<std::ptrdiff_t>(vp8lSize));
    // ANMF payload: a 4 x 4 frame at (2 * x, 2 * y), shown 100 ms, then its VP8L chunk.
    auto frameAt = [&vp8l](std::uint8_t x) {
      Bytes anmf = {x, 0, 0, 0, 0, 0, 3, 0, 0, 3, 0, 0, 100, 0, 0, 0};
      anmf.insert(anmf.end(), {'V', 'P', '8', 'L'});
      putLe(anmf, static_cast<std::uint32_t>(vp8l.size()), 4);
      anmf.insert(anmf.end(), vp8l.begin(), vp8l.end());
      if (vp8l.size() % 2) anmf.push_back(0);
      return anmf;
    };
    const Bytes huge = {0x02, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};  // animated, 16777216 x 16777216
    out.emplace_back("webp: VP8X canvas 16777216 x 16777216",
                     webpFile({{"VP8X", huge}, {"ANIM", Bytes(6, 0)}, {"ANMF", frameAt(0)}}));
    const Bytes lossy = makeWebpLossy(rgbaOf(400, 100, 3), 400, 100, 80);
    out.emplace_back("webp: lossy cut in half",
                     Bytes(lossy.begin(), lossy.begin() + static_cast<std::ptrdiff_t>(lossy.size() / 2)));
    Bytes canvas = {0x02, 0, 0, 0, 7, 0, 0, 7, 0, 0};  // animated, 8 x 8
    out.emplace_back("webp: frame outside its canvas",
                     webpFile({{"VP8X", canvas}, {"ANIM", Bytes(6, 0)}, {"ANMF", frameAt(0x10)}}));
  }
  return out;
}

}  // namespace madepics
