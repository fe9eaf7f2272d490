#!/usr/bin/env python3
"""Writes the fuzz target's seed corpus: small valid and broken targa and bitmap files."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus")


def targa_header(width, height, depth, image_type=10, id_length=0):
    return struct.pack("<BBB5sHHHHBB", id_length, 0, image_type, b"\0" * 5, 0, 0, width, height, depth, 0)


def run(count, pixel):
    return bytes([0x80 | (count - 1)]) + bytes(pixel)


def raw(pixels):
    return bytes([len(pixels) - 1]) + b"".join(bytes(p) for p in pixels)


def bitmap(width, height, rows_bgr, top_down=False):
    row_bytes = (width * 3 + 3) // 4 * 4
    body = b""
    for row in rows_bgr:
        data = b"".join(bytes(p) for p in row)
        body += data + b"\0" * (row_bytes - len(data))
    info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(body), 0, 0, 54)
    return header + info + body


def main():
    os.makedirs(OUT, exist_ok=True)
    red, green, blue, clear = (0, 0, 255, 255), (0, 255, 0, 128), (255, 0, 0, 255), (0, 0, 0, 0)
    seeds = {
        "t32_raw_2x2.tga": targa_header(2, 2, 32) + raw([red, green, blue, clear]),
        "t32_run_across_rows.tga": targa_header(5, 3, 32) + raw([red, green, blue]) + run(10, clear) + run(2, red),
        "t32_run_past_end.tga": targa_header(3, 2, 32) + run(128, green),
        "t24_mixed_4x3.tga": targa_header(4, 3, 24) + run(5, (1, 2, 3)) + raw([(4, 5, 6), (7, 8, 9)]) + run(5, (9, 9, 9)),
        "t32_id_and_footer.tga": targa_header(2, 1, 32, id_length=4) + b"seed" + run(2, red) + b"\0" * 8
        + b"TRUEVISION-XFILE.\0",
        "t32_truncated.tga": (targa_header(4, 4, 32) + raw([red] * 16))[:40],
        "t2_uncompressed.tga": targa_header(1, 1, 32, image_type=2) + bytes(red),
        "t32_huge_claim.tga": targa_header(8192, 8192, 32) + run(128, red),
        "bmp_3x2.bmp": bitmap(3, 2, [[(1, 2, 3), (4, 5, 6), (7, 8, 9)], [(9, 8, 7), (6, 5, 4), (3, 2, 1)]]),
        "bmp_top_down_2x3.bmp": bitmap(2, 3, [[(1, 1, 1), (2, 2, 2)], [(3, 3, 3), (4, 4, 4)], [(5, 5, 5), (6, 6, 6)]],
                                       top_down=True),
        "bmp_truncated.bmp": bitmap(4, 4, [[(7, 7, 7)] * 4] * 4)[:70],
    }
    for name, data in seeds.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
