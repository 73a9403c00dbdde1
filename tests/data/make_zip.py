#!/usr/bin/env python3
"""Writes a zip archive whose entry names are stored in a chosen encoding and never flagged
UTF-8, as Chinese archive tools write them: make_zip.py OUT ENCODING NAME=TEXT...
A NAME ending in "/" is a directory entry; TEXT is stored in the same encoding. A NAME starting
with "+" is stored (without the "+") as UTF-8 with the UTF-8 flag set."""
import sys
import zipfile


class RawNameInfo(zipfile.ZipInfo):
    encoding = "gbk"

    flagged = False

    def _encodeFilenameFlags(self):
        if self.flagged:
            return self.filename.encode("utf-8"), self.flag_bits | 0x800
        return self.filename.encode(self.encoding), self.flag_bits & ~0x800


def main():
    out, encoding, *entries = sys.argv[1:]
    RawNameInfo.encoding = encoding
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as archive:
        for entry in entries:
            name, _, text = entry.partition("=")
            flagged = name.startswith("+")
            info = RawNameInfo(name[1:] if flagged else name)
            info.flagged = flagged
            info.compress_type = zipfile.ZIP_DEFLATED
            if name.endswith("/"):
                info.external_attr = 0o40755 << 16 | 0x10
            archive.writestr(info, text.encode(encoding))


main()
