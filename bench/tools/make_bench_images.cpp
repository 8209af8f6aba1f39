// Writes the benchmark pictures as PPM files so that other programs can be
// timed on exactly the same pixels: make_bench_images DIR
#include <cstdio>
#include <fstream>
#include <string>

#include "../image_synth.h"

namespace {
void writePpm(const hueloom::image::Dib& d, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << d.width() << " " << d.height() << "\n255\n";
    std::string row(static_cast<std::size_t>(d.width()) * 3, '\0');
    for (int y = 0; y < d.height(); ++y) {
        const std::uint8_t* s = d.scanLine(y);
        for (int x = 0; x < d.width(); ++x) {
            row[x * 3] = static_cast<char>(s[x * 3 + 2]);
            row[x * 3 + 1] = static_cast<char>(s[x * 3 + 1]);
            row[x * 3 + 2] = static_cast<char>(s[x * 3]);
        }
        out.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_bench_images DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    writePpm(hueloom::bench::screenshot(), dir + "/screenshot.ppm");
    writePpm(hueloom::bench::photo(), dir + "/photo.ppm");
    return 0;
}
