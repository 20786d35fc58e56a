"""The texts a teacher brings: reading them in whatever encoding they were
saved in, and cleaning their sentences into fields the player can hold.

A sentence is "English | 中文 | note" in a script or transcript; in timed
text (LRC, SRT, WebVTT) it may also be "English / 中文" on one line, or an
English line and a Chinese line of the same cue.
"""

import codecs
import unicodedata
from dataclasses import dataclass

from book_files import SEPARATORS, FormatError, to_cp936

# The player's separators inside a text become their full-width twins.
FULL_WIDTH = {mark: chr(ord(mark) + 0xFEE0) for mark in SEPARATORS}  # ＊ ＃ ＾ ＼
# What a word processor or a subtitle editor puts into English that the
# learner cannot type; NFKC and dropping accents handle the rest.
TYPEABLE = str.maketrans({
    "\u2018": "'", "\u2019": "'", "\u201c": '"', "\u201d": '"', "\u2013": "-", "\u2014": "-",
    "\u2026": "...", "\u00a0": " ", "\u266a": "", "\u266b": "",
})
ENCODINGS = ("utf-8", "utf-16", "utf-16-le", "utf-16-be", "gb18030", "cp936")


@dataclass
class Sentence:
    english: str
    chinese: str
    note: str
    where: str = ""  # file and line, for messages


def has_chinese(text):
    return any(
        "\u3400" <= ch <= "\u4dbf" or "\u4e00" <= ch <= "\u9fff" or "\uf900" <= ch <= "\ufaff"
        or ch >= "\U00020000"
        for ch in text
    )


def _line_of(data, byte_offset, unit=1):
    return data[:byte_offset].count(b"\n" if unit == 1 else "\n".encode("utf-16-le")) + 1


def decode_text(data, name, encoding=None):
    """Text of a file in UTF-8 or UTF-16 (with a byte-order mark), GB18030 or
    code page 936: the one named, else detected."""
    if encoding:
        try:
            codecs.lookup(encoding)
        except LookupError:
            raise FormatError(f"unknown encoding {encoding!r}; use one of {', '.join(ENCODINGS)}") from None
        candidates = [encoding]
    elif data.startswith(codecs.BOM_UTF8):
        candidates = ["utf-8-sig"]
    elif data.startswith((codecs.BOM_UTF16_LE, codecs.BOM_UTF16_BE)):
        candidates = ["utf-16"]
    elif b"\x00" in data:  # no other encoding here holds NUL bytes
        raise FormatError(f"{name}: UTF-16 without a byte-order mark? name it with --encoding utf-16-le "
                          "(or utf-16-be)")
    else:
        # Chinese text in GB18030 is almost never valid UTF-8, so UTF-8 first.
        candidates = ["utf-8", "gb18030"]
    for candidate in candidates:
        try:
            return data.decode(candidate).lstrip("\ufeff")
        except UnicodeDecodeError as error:
            failure = (candidate, error)
    candidate, error = failure
    line = _line_of(data, error.start, 2 if "16" in candidate else 1)
    if encoding:
        raise FormatError(f"{name}:{line}: not valid {encoding}")
    raise FormatError(f"{name}:{line}: neither UTF-8 nor GB18030; name the encoding with --encoding")


def read_text(path, encoding=None):
    return decode_text(path.read_bytes(), str(path), encoding)


def _replace_separators(text, where, name, tell):
    for mark, twin in FULL_WIDTH.items():
        if mark in text:
            text = text.replace(mark, twin)
            tell(f"{where}: {mark!r} in the {name} replaced by {twin!r} (the player reads {mark!r} as a separator)")
    return text


def clean_field(text, where, name, tell, required=False):
    text = " ".join(text.split())  # a field is one line
    if required and not text:
        raise FormatError(f"{where}: the {name} is empty")
    text = _replace_separators(text, where, name, tell)
    if any(unicodedata.category(ch) == "Cc" for ch in text):
        raise FormatError(f"{where}: the {name} holds a control character")
    to_cp936(text, f"{where}: the {name}")
    return text


def typeable_english(text):
    """The English as the learner types it: plain ASCII where it can be."""
    text = unicodedata.normalize("NFKD", unicodedata.normalize("NFKC", text.translate(TYPEABLE)))
    return "".join(ch for ch in text if not unicodedata.combining(ch))


def make_sentence(english, chinese, note, where, tell):
    english = clean_field(typeable_english(english), where, "English sentence", tell, required=True)
    if any(not ch.isascii() and ch not in FULL_WIDTH.values() for ch in english):
        raise FormatError(f"{where}: the English sentence holds letters the learner cannot type: {english!r}")
    return Sentence(
        english,
        clean_field(chinese, where, "Chinese translation", tell),
        clean_field(note, where, "note", tell),
        where,
    )


def split_fields(text):
    """(english, chinese, note) of one line of text: "English | 中文 | note",
    "English / 中文", a Chinese line alone, or an English line alone."""
    if "|" in text:
        parts = [part.strip() for part in text.split("|")]
        if len(parts) > 3:
            raise ValueError(f'expected "English | 中文 | note", found {len(parts)} fields')
        return tuple(parts + [""] * (3 - len(parts)))
    slash = text.rfind("/")
    while slash >= 0:
        left, right = text[:slash].strip(), text[slash + 1 :].strip()
        if has_chinese(right) and not has_chinese(left):
            return left, right, ""
        if has_chinese(left) and not has_chinese(right) and right:
            return right, left, ""
        slash = text.rfind("/", 0, slash)
    return ("", text.strip(), "") if has_chinese(text) else (text.strip(), "", "")


def merge_lines(lines, where):
    """One sentence's fields from the text lines of one cue (or of one time)."""
    english, chinese, notes = [], [], []
    for line in lines:
        try:
            e, c, n = split_fields(line)
        except ValueError as error:
            raise FormatError(f"{where}: {error}") from None
        english += [e] if e else []
        chinese += [c] if c else []
        notes += [n] if n else []
    if not english:
        raise FormatError(f"{where}: a cue with no English sentence")
    return " ".join(english), " ".join(chinese), " ".join(notes)
