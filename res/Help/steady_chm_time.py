#!/usr/bin/python3
"""Takes the compile time out of a help file that chmcmd made.

chmcmd stamps the file with the time of day it was compiled (milliseconds since midnight): in the
file header, and again, read from the clock a moment later, in entry 10 of the #SYSTEM record.
Both become zero, so that the same pages always give the same file and a release built twice is
the same to the byte.

Usage: steady_chm_time.py FILE.chm
"""
import struct
import sys


def encoded_int(chunk, place):
    """A directory number: seven bits a byte, the high bit set on all but the last."""
    value = 0
    while True:
        byte = chunk[place]
        place += 1
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            return value, place


def system_record(data):
    """Where the #SYSTEM record lies in the file and its length, from the directory's chunks."""
    header_length = struct.unpack_from("<I", data, 8)[0]
    directory, directory_length = struct.unpack_from("<QQ", data, 0x48)
    content = struct.unpack_from("<Q", data, 0x58)[0] if header_length >= 0x60 else directory + directory_length
    if data[directory:directory + 4] != b"ITSP":
        raise ValueError("no directory header")
    first = directory + struct.unpack_from("<I", data, directory + 8)[0]
    chunk_size = struct.unpack_from("<I", data, directory + 0x10)[0]
    chunks = struct.unpack_from("<I", data, directory + 0x2C)[0]
    for number in range(chunks):
        chunk = data[first + number * chunk_size:first + (number + 1) * chunk_size]
        if chunk[:4] != b"PMGL":
            continue
        end = chunk_size - struct.unpack_from("<I", chunk, 4)[0]
        place = 20
        while place < end:
            length, place = encoded_int(chunk, place)
            name = bytes(chunk[place:place + length])
            place += length
            section, place = encoded_int(chunk, place)
            offset, place = encoded_int(chunk, place)
            size, place = encoded_int(chunk, place)
            if name == b"/#SYSTEM" and section == 0:
                return content + offset, size
    raise ValueError("no #SYSTEM record")


def main(path):
    with open(path, "rb") as f:
        data = bytearray(f.read())
    if data[:4] != b"ITSF":
        sys.exit(f"{path}: not a compiled help file")
    try:
        start, size = system_record(data)
    except (ValueError, IndexError, struct.error) as error:
        sys.exit(f"{path}: {error}")
    data[16:20] = bytes(4)
    # The record: a version, then entries of a code, a length and that many bytes.
    place, end = start + 4, start + size
    while place + 4 <= end:
        code, length = struct.unpack_from("<HH", data, place)
        if code == 10 and length == 4:
            data[place + 4:place + 8] = bytes(4)
        place += 4 + length
    with open(path, "wb") as f:
        f.write(data)


main(sys.argv[1])
