#!/usr/bin/env python3
"""Generates text/Gb2Big5Tables.h and text/Gb2Big5Tables.cpp, the GB/BIG5 code tables.

Run by hand after changing the rules below; the output is committed, so building the program
needs neither Python nor the dictionaries:

    python3 tools/gen_gb2big5_tables.py [OUTPUT_DIR]    # default: text/ beside this script
    python3 tools/gen_gb2big5_tables.py --unmapped      # list the GB characters left unmapped

Inputs: glibc iconv's GB2312, GBK and BIG5 character sets (through libc); the dictionaries of
the Debian package opencc (converted to text with its opencc_dict tool): STCharacters,
TWVariants and the phrase lists STPhrases and TWPhrases for the Taiwan traditional forms of a
simplified character, TSCharacters and TWVariantsRev for the way back; and the variant and
radical lists of the Unicode Han database from the Debian package unicode-data
(Unihan_Variants.txt.bz2, CJKRadicals.txt; EquivalentUnifiedIdeograph.txt and Blocks.txt for
the reasons --unmapped gives).

Rules:
  BIG5 -> GB  A character GB2312 also holds maps to itself (BIG5 後 -> GB 後); otherwise its
              small, vertical or full-width presentation form folds to the plain form, a
              punctuation mark to GB's mark of the same kind, a traditional character to its
              simplified form; the first of these that GB2312 holds is taken.
  GB -> BIG5  Keys are the characters of the GB byte range as Chinese Windows writes them
              (GBK, which adds vertical punctuation forms and small Roman numerals to
              GB2312's symbol rows). A character maps to the form Taiwan usage fixes for it
              (吁 -> 吁, not 籲), else to its Taiwan form (着 -> 著, 污 -> 汙), else to the Taiwan
              form of its traditional character, the first one the dictionary gives (后 -> 後,
              里 -> 裡, 么 -> 麼), else to itself when BIG5 holds it; punctuation and
              line-drawing symbols map to BIG5's of the same kind. Where BIG5 holds none of
              these, the form the phrase lists give the character, then a traditional character
              the dictionary simplifies to it, then a traditional or semantic variant from the
              Han database (硷 -> 鹼, 氵 -> 水), then the full form of a simplified radical
              (讠 -> 言) is taken. A character BIG5 holds twice (十, 卅) maps to its place among
              the characters, not to the copy among the symbols.
  Both        The ideographic space has no counterpart (0x2020), since it is written out as
              two ASCII spaces. Only standard BIG5 counts: the extension rows some converters
              add (C6A1-C8FE, F9D6-F9FE) have no entry.
"""
import bz2
import collections
import ctypes
import ctypes.util
import os
import subprocess
import sys
import tempfile
import unicodedata

NO_COUNTERPART = 0x2020
BIG5_ROWS, BIG5_COLUMNS = 94, 157  # first bytes A1-FE; second bytes 40-7E, A1-FE
GB_ROWS, GB_COLUMNS = 87, 94  # first bytes A1-F7; second bytes A1-FE
BIG5_SECOND_BYTES = list(range(0x40, 0x7F)) + list(range(0xA1, 0xFF))
GB_SECOND_BYTES = list(range(0xA1, 0xFF))
IDEOGRAPHIC_SPACE = "\u3000"
OPENCC_DIR = "/usr/share/opencc"
UNICODE_DIR = "/usr/share/unicode"
BIG5_HANZI_FIRST = 0xA440  # BIG5's symbol rows end here; its characters begin

# Marks that are the same kind of mark, though Unicode gives them different code points; each
# pair is used in both directions.
SAME_KIND = [
    ("\u30fb", "\u00b7"),  # GB's middle dot, BIG5's middle dot
    ("\u30fb", "\u2027"),  # GB's middle dot, BIG5's hyphenation point used between names
    ("\u2015", "\u2014"),  # GB's dash, BIG5's em dash
    ("\u2016", "\u2225"),  # double vertical line, parallel to
    ("\u2264", "\u2266"),  # less-than or equal to, in its two glyph forms
    ("\u2265", "\u2267"),  # greater-than or equal to
    ("\u2248", "\u2252"),  # almost equal to, as written in Taiwan
    ("\u201c", "\u301d"),  # opening double quotation mark, BIG5's reversed form
    ("\u201d", "\u301e"),  # closing double quotation mark
    ("\u2236", "\ufe30"),  # ratio, used as a colon, and BIG5's two-dot colon
]
# Marks whose own form BIG5 lacks, with BIG5's mark of the same kind; used from GB to BIG5.
GB_TO_BIG5_SAME_KIND = [
    ("\u3016", "\u3010"),  # white lenticular brackets as BIG5's lenticular brackets
    ("\u3017", "\u3011"),
    ("\uff3b", "\u3014"),  # full-width square brackets as BIG5's square-cornered ones
    ("\uff3d", "\u3015"),
] + [(chr(0x2170 + n), chr(0x2160 + n)) for n in range(10)]  # small Roman numerals ⅰ-ⅹ
FOLDED_TAGS = ("<small>", "<vertical>", "<wide>", "<narrow>")
# Variant links of the Han database that name a different word in today's use, so that the
# variant would change the text's meaning: 吲 (chemistry, as in 吲哚) is no 哂 (smile), 揸
# (grab) no 楂 (hawthorn), 溻 (soak) no 褟 (vest), 幞 (head cloth) no 襮 (collar), 厶 no 某, and
# 鞽 (saddle bow) no 橇 (sledge).
UNRELATED_VARIANTS = {"吲": "哂", "揸": "楂", "溻": "褟", "幞": "襮", "厶": "某", "鞽": "橇"}
# Forms fixed by Taiwan usage. The financial numeral three (叁, traditionally 叄, neither in
# BIG5) is written 參. For 吁 and 栗 the dictionary's first form (籲, 慄) is the rarer one in
# Taiwan text: a phrase-aware conversion of two novels keeps 吁 31 times against 1, 栗 13
# against 4.
TAIWAN_USAGE = {"叁": "參", "吁": "吁", "栗": "栗"}


def _libc_iconv():
    libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
    libc.iconv_open.restype = ctypes.c_void_p
    libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
    libc.iconv_close.argtypes = [ctypes.c_void_p]
    char_pp = ctypes.POINTER(ctypes.c_char_p)
    size_p = ctypes.POINTER(ctypes.c_size_t)
    libc.iconv.restype = ctypes.c_size_t
    libc.iconv.argtypes = [ctypes.c_void_p, char_pp, size_p, char_pp, size_p]
    return libc


def decode_set(charset, first_bytes, second_bytes):
    """Every two-byte code of the charset that iconv decodes to one character: {code: char}."""
    libc = _libc_iconv()
    handle = libc.iconv_open(b"UTF-32LE", charset.encode())
    if handle == ctypes.c_void_p(-1).value:
        sys.exit(f"iconv does not know {charset}")
    failed = ctypes.c_size_t(-1).value
    chars = {}
    for first in first_bytes:
        for second in second_bytes:
            source = ctypes.create_string_buffer(bytes([first, second]), 2)
            target = ctypes.create_string_buffer(16)
            in_ptr = ctypes.c_char_p(ctypes.addressof(source))
            out_ptr = ctypes.c_char_p(ctypes.addressof(target))
            in_left, out_left = ctypes.c_size_t(2), ctypes.c_size_t(16)
            libc.iconv(handle, None, None, None, None)  # reset the shift state
            result = libc.iconv(handle, ctypes.byref(in_ptr), ctypes.byref(in_left),
                                ctypes.byref(out_ptr), ctypes.byref(out_left))
            if result == failed or in_left.value != 0:
                continue
            text = target.raw[: 16 - out_left.value].decode("utf-32le")
            if len(text) == 1:
                chars[(first << 8) | second] = text
    libc.iconv_close(handle)
    return chars


def is_big5_extension(code):
    return 0xC6A1 <= code <= 0xC8FE or 0xF9D6 <= code <= 0xF9FE


def load_opencc(names):
    """The named OpenCC character dictionaries as {key: [values in the dictionary's order]}."""
    dictionaries = {}
    with tempfile.TemporaryDirectory() as tmp:
        for name in names:
            text_path = os.path.join(tmp, name + ".txt")
            subprocess.run(["opencc_dict", "-i", os.path.join(OPENCC_DIR, name + ".ocd2"),
                            "-o", text_path, "-f", "ocd2", "-t", "text"], check=True)
            entries = {}
            with open(text_path, encoding="utf-8") as lines:
                for line in lines:
                    key, values = line.rstrip("\n").split("\t")
                    entries[key] = values.split(" ")
            dictionaries[name] = entries
    return dictionaries


def fold_presentation(char):
    """A small, vertical, half- or full-width form as its plain form; ASCII becomes full-width,
    which is how both code sets hold their punctuation. Other characters stay as they are."""
    decomposition = unicodedata.decomposition(char)
    if not decomposition.startswith(FOLDED_TAGS):
        return char
    plain = unicodedata.normalize("NFKC", char)
    if len(plain) != 1:
        return char
    if "!" <= plain <= "~":
        plain = chr(ord(plain) + 0xFEE0)
    return plain


def box_directions(char):
    """The arms of a line-drawing character (light, heavy, double, dashed or rounded alike)."""
    name = unicodedata.name(char, "")
    if not name.startswith("BOX DRAWINGS") or "DIAGONAL" in name:
        return None
    words = set(name.split())
    arms = {arm for arm in ("UP", "DOWN", "LEFT", "RIGHT") if arm in words}
    if "HORIZONTAL" in words:
        arms |= {"LEFT", "RIGHT"}
    if "VERTICAL" in words:
        arms |= {"UP", "DOWN"}
    return frozenset(arms) if len(arms) >= 2 else None


def light_boxes(chars):
    """{arms: char} for the light line-drawing characters of a set."""
    found = {}
    for char in chars:
        arms = box_directions(char)
        words = unicodedata.name(char, "").split()
        if arms and "LIGHT" in words and not {"ARC", "DASH", "DOUBLE", "TRIPLE"} & set(words):
            found.setdefault(arms, char)
    return found


def same_kind(char):
    return [b for a, b in SAME_KIND if a == char] + [a for a, b in SAME_KIND if b == char]


def first_held(candidates, held):
    for char in candidates:
        if char in held:
            return held[char]
    return NO_COUNTERPART


def code_of_char(chars):
    """{char: code} of a code set. Where a set holds a character twice, a character's place
    among the characters wins over a copy among the symbols, then the lower code."""
    codes = {}
    for code, char in sorted(chars.items(), key=lambda item: (_is_symbol_copy(*item), item[0])):
        codes.setdefault(char, code)
    return codes


def _is_symbol_copy(code, char):
    return code < BIG5_HANZI_FIRST and unicodedata.name(char, "").startswith("CJK UNIFIED")


def big5_to_gb(big5, gb, occ):
    gb_codes = code_of_char(gb)
    gb_boxes = light_boxes(gb_codes)
    ts, tw_rev = occ["TSCharacters"], occ["TWVariantsRev"]
    table = [NO_COUNTERPART] * (BIG5_ROWS * BIG5_COLUMNS)
    for code, char in big5.items():
        if char == IDEOGRAPHIC_SPACE:
            continue
        plain = fold_presentation(char)
        candidates = [char, plain] + same_kind(char) + same_kind(plain)
        for form in [char] + tw_rev.get(char, []):
            candidates += ts.get(form, [])
        candidates += tw_rev.get(char, [])
        arms = box_directions(char)
        if arms in gb_boxes:
            candidates.append(gb_boxes[arms])
        table[big5_index(code)] = first_held(candidates, gb_codes)
    return table


def phrase_forms(phrase_lists):
    """{simplified char: [traditional forms, most frequent first]} as the characters stand in
    the phrase lists, where a phrase and its traditional form are equally long."""
    counts = collections.defaultdict(collections.Counter)
    for phrases in phrase_lists:
        for key, values in phrases.items():
            for value in values:
                if len(value) == len(key):
                    for simplified, traditional in zip(key, value):
                        if simplified != traditional:
                            counts[simplified][traditional] += 1
    return {char: [form for form, _ in found.most_common()] for char, found in counts.items()}


def traditional_of(ts):
    """{simplified char: [traditional chars the dictionary simplifies to it]}."""
    found = collections.defaultdict(list)
    for traditional, simplified in ts.items():
        for char in simplified:
            found[char].append(traditional)
    return found


def load_unihan_variants():
    """{char: {field: [variants]}} from the Han database's variant list."""
    variants = collections.defaultdict(lambda: collections.defaultdict(list))
    with bz2.open(os.path.join(UNICODE_DIR, "Unihan_Variants.txt.bz2"), "rt",
                  encoding="utf-8") as lines:
        for line in lines:
            if not line.startswith("U+"):
                continue
            code, field, values = line.rstrip("\n").split("\t")
            char = chr(int(code[2:], 16))
            for value in values.split():
                variants[char][field].append(chr(int(value.split("<")[0][2:], 16)))
    return variants


def load_radical_forms():
    """{simplified radical form: its full character}, as 讠 -> 言, from the radical list."""
    full, forms = {}, {}
    with open(os.path.join(UNICODE_DIR, "CJKRadicals.txt"), encoding="utf-8") as lines:
        for line in lines:
            fields = [field.strip() for field in line.split("#")[0].split(";")]
            if len(fields) != 3 or not fields[2]:
                continue
            number, _, ideograph = fields
            if number.endswith("'"):
                forms[chr(int(ideograph, 16))] = number[:-1]
            else:
                full[number] = chr(int(ideograph, 16))
    return {form: full[number] for form, number in forms.items() if number in full}


def unihan_forms(char, traditional, unihan):
    """Traditional, then semantic variants of the character and of its traditional forms."""
    forms = list(unihan[char]["kTraditionalVariant"])
    for source in [char] + traditional + forms:
        for field in ("kSemanticVariant", "kZVariant"):
            forms += [form for form in unihan[source][field]
                      if UNRELATED_VARIANTS.get(source) != form]
    return forms


def gb_to_big5_candidates(char, sources):
    """The forms a GB character may take in BIG5, the preferred first."""
    st, tw = sources["STCharacters"], sources["TWVariants"]
    traditional = st.get(char, [])
    candidates = [TAIWAN_USAGE[char]] if char in TAIWAN_USAGE else []
    candidates += tw.get(char, [])
    for form in traditional:
        candidates += tw.get(form, []) + [form]
    candidates += [char, fold_presentation(char)] + same_kind(char)
    candidates += [b for a, b in GB_TO_BIG5_SAME_KIND if a == char]
    arms = box_directions(char)
    if arms in sources["big5_boxes"]:
        candidates.append(sources["big5_boxes"][arms])
    # What BIG5 lacks of the above: the forms of the phrase lists, the variants.
    candidates += sources["phrases"].get(char, []) + sources["traditional_of"].get(char, [])
    candidates += unihan_forms(char, traditional, sources["unihan"])
    if char in sources["radicals"]:
        candidates.append(sources["radicals"][char])
    return candidates


def gb_to_big5(gb, big5, occ):
    big5_codes = code_of_char(big5)
    sources = dict(occ, big5_boxes=light_boxes(big5_codes),
                   phrases=phrase_forms([occ["STPhrases"], occ["TWPhrases"]]),
                   traditional_of=traditional_of(occ["TSCharacters"]),
                   unihan=load_unihan_variants(), radicals=load_radical_forms())
    table = [NO_COUNTERPART] * (GB_ROWS * GB_COLUMNS)
    for code, char in gb.items():
        if char == IDEOGRAPHIC_SPACE:
            continue
        table[gb_index(code)] = first_held(gb_to_big5_candidates(char, sources), big5_codes)
    return table


def big5_index(code):
    first, second = code >> 8, code & 0xFF
    column = second - 0x40 if second <= 0x7E else second - 0xA1 + 63
    return (first - 0xA1) * BIG5_COLUMNS + column


def gb_index(code):
    return ((code >> 8) - 0xA1) * GB_COLUMNS + (code & 0xFF) - 0xA1


def format_table(name, values, columns):
    lines = [f"const std::array<std::uint16_t, {len(values)}> {name} = {{{{"]
    for row in range(0, len(values), columns):
        chunk = values[row:row + columns]
        lines.append("    " + ", ".join(f"0x{value:04X}" for value in chunk) + ",")
    lines.append("}};")
    return "\n".join(lines)


HEADER = """\
#pragma once
// Generated by tools/gen_gb2big5_tables.py; do not edit by hand.
// Big5GbTable is indexed by Big5CharIndex (94 rows of 157), GbBig5Table by GbCharIndex
// (87 rows of 94). An entry is the counterpart's code, high byte first when written out, or
// 0x2020 (two ASCII spaces) where the other code set has no counterpart.
#include <array>
#include <cstdint>

inline constexpr std::uint16_t NoCounterpart = 0x2020;
inline constexpr int Big5TableSize = {big5_size};
inline constexpr int GbTableSize = {gb_size};

extern const std::array<std::uint16_t, Big5TableSize> Big5GbTable;
extern const std::array<std::uint16_t, GbTableSize> GbBig5Table;
"""

SOURCE = """\
// Generated by tools/gen_gb2big5_tables.py from iconv's GB2312, GBK and BIG5 sets, OpenCC's
// dictionaries and the Unicode Han database's variants; do not edit by hand.
// BIG5 -> GB: {big5_mapped} codes, {big5_empty} without counterpart.
// GB -> BIG5: {gb_mapped} codes, {gb_empty} without counterpart.
#include "Gb2Big5Tables.h"

{big5_table}

{gb_table}
"""


def load_radical_ideographs():
    """The unified ideographs that stand for a radical or a component form of one."""
    found = set()
    with open(os.path.join(UNICODE_DIR, "EquivalentUnifiedIdeograph.txt"),
              encoding="utf-8") as lines:
        for line in lines:
            fields = line.split("#")[0].split(";")
            if len(fields) == 2:
                found.add(chr(int(fields[1].strip(), 16)))
    return found


def unicode_block(char):
    with open(os.path.join(UNICODE_DIR, "Blocks.txt"), encoding="utf-8") as lines:
        for line in lines:
            fields = line.split("#")[0].split(";")
            if len(fields) == 2:
                first, last = (int(bound, 16) for bound in fields[0].split(".."))
                if first <= ord(char) <= last:
                    return fields[1].strip()
    return "unknown"


def unmapped_reason(char, occ, radicals):
    """Why BIG5 has no counterpart for a GB character, for the --unmapped list."""
    if char == IDEOGRAPHIC_SPACE:
        return "ideographic space: written as two ASCII spaces"
    name = unicodedata.name(char, "")
    if not name.startswith("CJK UNIFIED"):
        return f"BIG5 has no {name.lower()} (block {unicode_block(char)})"
    forms = [form for form in occ["STCharacters"].get(char, []) if form != char]
    if forms:
        return "its traditional form " + "".join(forms) + " is not in BIG5"
    if char in radicals:
        return "a radical or component form that BIG5 lacks"
    return "neither it nor a variant of it is in BIG5"


def main():
    args = sys.argv[1:]
    list_unmapped = "--unmapped" in args
    args = [arg for arg in args if arg != "--unmapped"]
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = args[0] if args else os.path.join(here, "..", "text")
    big5 = decode_set("BIG5", range(0xA1, 0xFF), BIG5_SECOND_BYTES)
    big5 = {code: char for code, char in big5.items() if not is_big5_extension(code)}
    gb = decode_set("GB2312", range(0xA1, 0xF8), GB_SECOND_BYTES)
    gbk = decode_set("GBK", range(0xA1, 0xF8), GB_SECOND_BYTES)
    occ = load_opencc(["STCharacters", "TSCharacters", "TWVariants", "TWVariantsRev",
                       "STPhrases", "TWPhrases"])
    big5_gb = big5_to_gb(big5, gb, occ)
    gb_big5 = gb_to_big5(gbk, big5, occ)
    if list_unmapped:
        radicals = load_radical_ideographs()
        for code, char in sorted(gbk.items()):
            if gb_big5[gb_index(code)] == NO_COUNTERPART:
                print(f"{code:04X} {char} {unmapped_reason(char, occ, radicals)}")
        return
    big5_mapped = sum(1 for v in big5_gb if v != NO_COUNTERPART)
    gb_mapped = sum(1 for v in gb_big5 if v != NO_COUNTERPART)
    with open(os.path.join(out_dir, "Gb2Big5Tables.h"), "w", encoding="utf-8") as out:
        out.write(HEADER.format(big5_size=len(big5_gb), gb_size=len(gb_big5)))
    with open(os.path.join(out_dir, "Gb2Big5Tables.cpp"), "w", encoding="utf-8") as out:
        out.write(SOURCE.format(
            big5_mapped=big5_mapped, big5_empty=len(big5_gb) - big5_mapped,
            gb_mapped=gb_mapped, gb_empty=len(gb_big5) - gb_mapped,
            big5_table=format_table("Big5GbTable", big5_gb, 12),
            gb_table=format_table("GbBig5Table", gb_big5, 12)))
    print(f"Big5GbTable: {big5_mapped} of {len(big5_gb)} entries hold a GB code")
    print(f"GbBig5Table: {gb_mapped} of {len(gb_big5)} entries hold a BIG5 code")


if __name__ == "__main__":
    main()
