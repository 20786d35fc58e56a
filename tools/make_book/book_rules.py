"""The rules on book titles the book maker shares with the player: their data
is src/rules/book_rules.json, which the player's build reads too
(src/rules/book_titles.cpp follows the same steps)."""

import json
from pathlib import Path

RULES_FILE = Path(__file__).resolve().parents[2] / "src" / "rules" / "book_rules.json"
_RULES = json.loads(RULES_FILE.read_text(encoding="utf-8"))

WMA_BOOKS = tuple(_RULES["wmaBooks"])
TITLE_FORBIDS = _RULES["titleForbids"]
TITLE_ENCODING = _RULES["titleEncoding"]


def audio_extension(title):
    """The player plays .wma for the books the rules name, .mp3 for all others."""
    return ".wma" if title in WMA_BOOKS else ".mp3"


def title_faults(title):
    """Why `title` cannot name a book (empty when it can): it names folders and
    files on every system the book may go to and is kept in the player's
    settings file in code page 936."""
    faults = [f"it holds {ch!r}" for ch in title if ch in TITLE_FORBIDS or ord(ch) < 32 or ord(ch) == 127]
    if not title or title[0] == " " or title[-1] == " " or title.endswith("."):
        faults.append("it is empty, ends in \".\" or has spaces at its ends")
    if ".." in title:
        faults.append("it holds \"..\"")
    try:
        title.encode(TITLE_ENCODING)
    except UnicodeEncodeError as error:
        faults.append(f"{title[error.start:error.end]!r} has no code page 936 form")
    return faults
