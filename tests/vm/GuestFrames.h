// Expected report bytes for the in-guest checks, written out from the keyboard's
// command layout rather than taken from the program's own builders, so that a
// wrong builder cannot agree with itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace vmtest {

using Bytes = std::vector<uint8_t>;

// 64 bytes: the given ones first, zero after them.
inline Bytes Frame(std::initializer_list<uint8_t> head) {
    Bytes b(head);
    b.resize(64, 0);
    return b;
}

// An output report as the kernel hands it to the device: report id 0, then 64 bytes.
inline Bytes OutputReport(std::initializer_list<uint8_t> head) {
    Bytes b{0x00};
    b.insert(b.end(), head);
    b.resize(65, 0);
    return b;
}

// The data reports of a long transfer: 48 payload bytes per report, as 8 groups of
// the two marker bytes (07, marker) and 6 payload bytes.
inline std::vector<Bytes> SubFrameReports(uint8_t marker, const Bytes& payload) {
    std::vector<Bytes> reports;
    for (size_t k = 0; k * 48 < payload.size(); ++k) {
        Bytes r(64, 0);
        for (size_t g = 0; g < 8; ++g) {
            r[8 * g] = 0x07;
            r[8 * g + 1] = marker;
            for (size_t i = 0; i < 6; ++i) {
                const size_t at = 48 * k + 6 * g + i;
                if (at < payload.size()) r[8 * g + 2 + i] = payload[at];
            }
        }
        reports.push_back(r);
    }
    return reports;
}

}  // namespace vmtest
