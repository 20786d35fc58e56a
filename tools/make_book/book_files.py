"""The text files of a course book, in the byte layouts the player reads.

Every text file is code page 936. Lesson files, lesson-title files and results
files are plain text; set.dat is the RTF document the player's own writer
produces, so a file written by the player and one written here look alike.
"""

WHITE_STAR = "\u2606"  # not yet passed; code page 936 bytes A1 EE
# Characters the player uses as separators; a field may not hold them.
SEPARATORS = "*#^\\"


class FormatError(ValueError):
    pass


def to_cp936(text, what):
    try:
        return text.encode("gbk")
    except UnicodeEncodeError as error:
        bad = text[error.start : error.end]
        raise FormatError(f"{what}: {bad!r} has no code page 936 form") from None


def lesson_text(records):
    """records: (english, chinese, start_s, end_s, note) for each sentence;
    times are written in seconds with three decimals and a "." point."""
    parts = ["*"]
    for english, chinese, start, end, note in records:
        fields = [english, chinese, f"{start:.3f}", f"{end:.3f}", note]
        parts.append("".join(field + "#" for field in fields) + "*")
    return "".join(parts)


def title_list(titles):
    return "^" + "".join(title + "^" for title in titles)


def results_text(titles):
    return title_list(WHITE_STAR + title for title in titles)


def settings_line(book_title, lesson_row=0, pass_mark=60):
    # lesson row, English hint, Chinese hint, study repeats, study pause,
    # browse repeats, browse pause, full-text Chinese, comparison hint, book,
    # pass mark: each followed by "\".
    fields = [lesson_row, 1, 1, 1, 0, 1, 0, 1, 0, book_title, pass_mark]
    return "".join(f"{field}\\" for field in fields)


RTF_HEAD = b"{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"


def rtf_document(text):
    """The player's RTF form: 宋体 9 pt, CONTENT escaped, one paragraph."""
    body = bytearray()
    for byte in to_cp936(text, "settings"):
        if byte > 127:
            body += b"\\'%02x" % byte
        elif chr(byte) in "\\{}":
            body += b"\\" + bytes([byte])
        else:
            body.append(byte)
    return (
        RTF_HEAD
        + b"\r\n\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs18 "
        + bytes(body)
        + b"\r\n\\par }\r\n"
    )
