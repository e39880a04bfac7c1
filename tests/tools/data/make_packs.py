#!/usr/bin/env python3
"""Builds the hostile packs the unpacker's tests feed it: python3 make_packs.py [DIR]

Each pack reproduces one way a pack can lie or collide. Honest ones come from zipfile; the
ones whose headers lie about sizes are written by hand, because zipfile writes true headers.
"""
import io
import os
import struct
import sys
import warnings
import zipfile
import zlib

MIB = 1 << 20


def deflated(data):
    compressor = zlib.compressobj(9, zlib.DEFLATED, -15)
    return compressor.compress(data) + compressor.flush()


def lying_pack(entries):
    """entries: (name, payload, claimed size). The payload is stored deflated, its header
    claims `claimed` bytes (with a zip64 extra field where that does not fit 32 bits) and the
    CRC of the true data, so only the size lies."""
    out = io.BytesIO()
    central = []
    for name, payload, claimed in entries:
        raw = name.encode()
        packed = deflated(payload)
        crc = zlib.crc32(payload)
        big = claimed >= 0xFFFFFFFF
        extra = struct.pack('<HHQQ', 1, 16, claimed, len(packed)) if big else b''
        size32 = 0xFFFFFFFF if big else claimed
        csize32 = 0xFFFFFFFF if big else len(packed)
        version = 45 if big else 20
        offset = out.tell()
        out.write(struct.pack('<IHHHHHIIIHH', 0x04034B50, version, 0, 8, 0, 0x21, crc, csize32,
                              size32, len(raw), len(extra)) + raw + extra + packed)
        central.append(struct.pack('<IHHHHHHIIIHHHHHII', 0x02014B50, version, version, 0, 8, 0,
                                   0x21, crc, csize32, size32, len(raw), len(extra), 0, 0, 0,
                                   0, offset) + raw + extra)
    start = out.tell()
    for record in central:
        out.write(record)
    out.write(struct.pack('<IHHHHIIH', 0x06054B50, 0, 0, len(central), len(central),
                          out.tell() - start, start, 0))
    return out.getvalue()


def honest_pack(entries):
    out = io.BytesIO()
    with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as pack:
        for name, data in entries:
            pack.writestr(name, data)
    return out.getvalue()


def main():
    warnings.simplefilter('ignore')  # zipfile warns of the duplicate name we want
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    texts = b'*MAINMENU\r\n071 New title \r\n&\r\n'
    packs = {
        # One entry claiming 1 TiB in a pack of a few hundred bytes.
        'huge-claim.zip': lying_pack([('MESSW.TXT', b'x', 1 << 40)]),
        # Entries that each fit but together pass the limit.
        'over-limit.zip': lying_pack([('MESSW.TXT', texts, len(texts)),
                                      ('a.bin', b'a', 200 * MIB),
                                      ('b.bin', b'b', 200 * MIB)]),
        # An entry that inflates to far more than its header claims.
        'longer-than-claimed.zip': lying_pack([('MESSW.TXT', texts, len(texts)),
                                               ('MMHlp.htm', bytes(100000), 1000)]),
        # An entry whose data ends before the size its header claims.
        'shorter-than-claimed.zip': lying_pack([('MESSW.TXT', texts, len(texts)),
                                                ('MMHlp.htm', b'<HTML>', 5000)]),
        # Two entries of one name; two whose names differ only in case.
        'duplicate-name.zip': honest_pack([('MESSW.TXT', texts), ('MESSW.TXT', b'other')]),
        'case-duplicate.zip': honest_pack([('MESSW.TXT', texts), ('messw.txt', b'other')]),
        # The same file in two spellings, as the language packs carry the editor help.
        'same-file-two-cases.zip': honest_pack([('EdHlp.htm', b'<HTML>'),
                                                ('edhlp.htm', b'<HTML>')]),
        # A file entry where the target folder has a folder of that name, after an entry that
        # would replace MESSW.TXT.
        'file-over-folder.zip': honest_pack([('MESSW.TXT', texts), ('help', b'not a folder')]),
        # A file and a folder of one name inside the pack.
        'file-and-folder.zip': honest_pack([('help', b'file'), ('help/EdHlp.htm', b'<HTML>')]),
        # Entries into a sub-folder, for a target whose folder of that name is a link.
        'into-folder.zip': honest_pack([('MESSW.TXT', texts), ('help/EdHlp.htm', b'<HTML>')]),
    }
    for name, data in packs.items():
        with open(os.path.join(target, name), 'wb') as out:
            out.write(data)


if __name__ == '__main__':
    main()
