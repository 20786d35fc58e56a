"""Lesson scripts and transcripts: the plain text files a teacher writes, one
per lesson.

    # a comment line
    第一课 Greetings 问候
    Good morning. | 早上好。 | 中午以前的问候。

The first line that is neither blank nor a comment is the lesson title; every
later one is a sentence "English | 中文 | note" (the Chinese and the note may
be left out). Alone, a script is spoken by the speech synthesiser; beside a
recording of the same name it is the recording's transcript.
"""

from dataclasses import dataclass, field
from pathlib import Path

from book_files import FormatError
from lesson_texts import clean_field, make_sentence, read_text, split_fields


@dataclass
class Lesson:
    title: str
    source: Path
    sentences: list = field(default_factory=list)


def parse_lesson(text, source, tell=print):
    lesson = None
    for number, raw in enumerate(text.splitlines(), start=1):
        line = raw.strip()
        where = f"{source}:{number}"
        if not line or line.startswith("#"):
            continue
        if lesson is None:
            if "|" in line:
                raise FormatError(f"{where}: the first line must be the lesson title")
            lesson = Lesson(clean_field(line, where, "lesson title", tell, required=True), source)
            continue
        if "|" not in line:
            english, chinese, note = line, "", ""
        else:
            try:
                english, chinese, note = split_fields(line)
            except ValueError as error:
                raise FormatError(f"{where}: {error}") from None
        lesson.sentences.append(make_sentence(english, chinese, note, where, tell))
    if lesson is None or not lesson.sentences:
        raise FormatError(f"{source}: a lesson needs a title line and at least one sentence")
    return lesson


def read_script(path, encoding=None, tell=print):
    return parse_lesson(read_text(path, encoding), path, tell)


def check_titles(titles):
    # Passing a lesson marks every results entry that starts with its title,
    # so no title may be the beginning of another.
    for i, first in enumerate(titles):
        for second in titles[i + 1 :]:
            if first.startswith(second) or second.startswith(first):
                raise FormatError(f"lesson titles {first!r} and {second!r}: one begins the other")
