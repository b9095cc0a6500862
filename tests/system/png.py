"""Reads the 8-bit RGBA PNGs the harness writes, without third-party modules."""
import struct
import zlib


class Picture:
    def __init__(self, path):
        data = open(path, 'rb').read()
        if data[:8] != b'\x89PNG\r\n\x1a\n':
            raise ValueError(f'{path}: not a PNG')
        pos, idat = 8, b''
        while pos < len(data):
            length, kind = struct.unpack('>I4s', data[pos:pos + 8])
            body = data[pos + 8:pos + 8 + length]
            if kind == b'IHDR':
                self.width, self.height, depth, colour = struct.unpack('>IIBB', body[:10])
                if (depth, colour) != (8, 6):
                    raise ValueError(f'{path}: not 8-bit RGBA')
            elif kind == b'IDAT':
                idat += body
            pos += 12 + length
        self.rows = self._unfilter(zlib.decompress(idat))

    def _unfilter(self, raw):
        stride = self.width * 4
        rows, previous = [], bytearray(stride)
        for y in range(self.height):
            kind = raw[y * (stride + 1)]
            row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
            for i in range(stride):
                left = row[i - 4] if i >= 4 else 0
                up = previous[i]
                corner = previous[i - 4] if i >= 4 else 0
                if kind == 1:
                    row[i] = (row[i] + left) & 0xFF
                elif kind == 2:
                    row[i] = (row[i] + up) & 0xFF
                elif kind == 3:
                    row[i] = (row[i] + (left + up) // 2) & 0xFF
                elif kind == 4:
                    p = left + up - corner
                    pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                    guess = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                    row[i] = (row[i] + guess) & 0xFF
            rows.append(row)
            previous = row
        return rows

    def pixel(self, x, y):
        """(r, g, b) at (x, y), the top-left pixel being (0, 0)."""
        row = self.rows[y]
        return tuple(row[x * 4:x * 4 + 3])

    def mean(self, left, top, right, bottom, step=4):
        """The mean (r, g, b) over a box, sampling every step pixels."""
        total, count = [0, 0, 0], 0
        for y in range(top, bottom, step):
            for x in range(left, right, step):
                for c, v in enumerate(self.pixel(x, y)):
                    total[c] += v
                count += 1
        return tuple(t / count for t in total)
