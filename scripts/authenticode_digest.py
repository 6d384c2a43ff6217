#!/usr/bin/env python3
"""Prints the Authenticode SHA-256 digest of Windows programs: the hash that a
code signature signs, the same before and after signing. It lets anyone compare
a program of a signed release with their own unsigned build of the same commit.

    python3 scripts/authenticode_digest.py FILE...

prints "DIGEST  FILE" for each, in upper-case hex as osslsigncode shows it.
"""
import hashlib
import struct
import sys

PE32 = 0x10B
PE32_PLUS = 0x20B
CERTIFICATE_TABLE = 4  # index among the optional header's data directories


def authenticode_sha256(data):
    if data[:2] != b"MZ":
        raise ValueError("no MZ header")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE header")
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    if magic not in (PE32, PE32_PLUS):
        raise ValueError("unknown optional header 0x%x" % magic)
    checksum = optional + 64
    directories = optional + (96 if magic == PE32 else 112)
    entry = directories + 8 * CERTIFICATE_TABLE
    table_offset, table_size = struct.unpack_from("<II", data, entry)

    # Everything but the checksum, the certificate table's directory entry and
    # the table itself. Signing pads the file with zeros to 8 bytes before it
    # appends the table, and that padding is signed: an unsigned file is hashed
    # as signing will lay it out.
    end = table_offset if table_size else len(data)
    digest = hashlib.sha256()
    digest.update(data[:checksum])
    digest.update(data[checksum + 4:entry])
    digest.update(data[entry + 8:end])
    if not table_size:
        digest.update(b"\0" * (-len(data) % 8))
    return digest.hexdigest().upper()


def main(paths):
    status = 0
    for path in paths:
        try:
            with open(path, "rb") as f:
                print("%s  %s" % (authenticode_sha256(f.read()), path))
        except (OSError, ValueError, struct.error) as e:
            print("%s: not a Windows program: %s" % (path, e), file=sys.stderr)
            status = 1
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
