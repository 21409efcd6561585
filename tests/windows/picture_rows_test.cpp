// SPDX-License-Identifier: GPL-3.0-or-later
// The packed background picture's rows, unpacked: each kind of piece, and data
// that must be refused; and pictures scaled by area. Runs under Wine; exit
// status 0 when every case holds.

#include <cstdint>
#include <cstdio>
#include <vector>

#include "picture_rows.h"

namespace {

struct Case {
    const char* name;
    std::vector<std::uint8_t> data;    // a 3 × 2 picture
    std::vector<std::uint32_t> pixels; // empty: refused
};

const Case kCases[] = {
    {"literal, then run and above",
     {3, 0, 2, 0, 0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0x40, 0xaa, 0xbb, 0xcc, 0x81},
     {0x030201, 0x060504, 0x090807, 0xccbbaa, 0x060504, 0x090807}},
    {"a run of the whole row",
     {3, 0, 2, 0, 0x42, 1, 2, 3, 0x82},
     {0x030201, 0x030201, 0x030201, 0x030201, 0x030201, 0x030201}},
    {"another size", {4, 0, 2, 0, 0x43, 1, 2, 3, 0x83}, {}},
    {"above the first row", {3, 0, 2, 0, 0x82, 0x82}, {}},
    {"a piece past the row's end", {3, 0, 2, 0, 0x43, 1, 2, 3, 0x81}, {}},
    {"a row left short", {3, 0, 2, 0, 0x42, 1, 2, 3}, {}},
    {"literal pixels cut off", {3, 0, 2, 0, 0x02, 1, 2, 3, 4}, {}},
    {"bytes left over", {3, 0, 2, 0, 0x42, 1, 2, 3, 0x82, 0x82}, {}},
    {"an unknown kind", {3, 0, 2, 0, 0xc2, 0x82}, {}},
};

struct Scaling {
    const char* name;
    int width, height, toWidth, toHeight;
    std::vector<std::uint32_t> from, to;
};

const Scaling kScalings[] = {
    {"halved across", 2, 1, 1, 1, {0x000000, 0x0a1428}, {0x050a14}},
    {"halved both ways", 2, 2, 1, 1, {0x000000, 0x000004, 0x000008, 0x00000c}, {0x000006}},
    {"doubled", 1, 1, 2, 2, {0x123456}, {0x123456, 0x123456, 0x123456, 0x123456}},
    {"three to two", 3, 1, 2, 1, {0x000000, 0x000030, 0x0000ff}, {0x000010, 0x0000ba}},
};

} // namespace

int main() {
    int failed = 0;
    for (const Case& c : kCases) {
        std::vector<std::uint32_t> got(6, 0);
        const bool unpacked =
            drill::win::UnpackPicture(c.data.data(), c.data.size(), 3, 2, got.data());
        if (unpacked != !c.pixels.empty() || (unpacked && got != c.pixels)) {
            std::printf("FAIL %s\n", c.name);
            ++failed;
        }
    }
    for (const Scaling& c : kScalings) {
        std::vector<std::uint32_t> got(c.to.size(), 0);
        drill::win::ScalePicture(c.from.data(), {c.width, c.height}, got.data(),
                                 {c.toWidth, c.toHeight});
        if (got != c.to) {
            std::printf("FAIL %s\n", c.name);
            ++failed;
        }
    }
    std::printf("%d of %zu cases failed\n", failed, std::size(kCases) + std::size(kScalings));
    return failed == 0 ? 0 : 1;
}
