"""make_book.py on lesson folders made at test time: espeak-ng speech joined
with pauses of chosen lengths (a comma's pause longer than the pause between
two sentences), with LRC, SRT and WebVTT written in several encodings, and a
bare transcript. The book is read back as the player reads it (code page 936,
"*", "#" and "^" lists) and every stretch is checked against the true times of
its sentence.

Tolerance: a stretch begins at most 150 ms before its sentence's first sound
and ends at most 150 ms after its last, holds all of it, and holds nothing of
a neighbour's speech.
"""

import codecs
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

TOOL = Path(__file__).resolve().parents[2] / "tools" / "make_book"
sys.path.insert(0, str(TOOL))
sys.dont_write_bytecode = True

from book_files import FormatError  # noqa: E402
from book_rules import RULES_FILE, audio_extension, title_faults  # noqa: E402
from lesson_texts import decode_text  # noqa: E402
from speech_fixture import Pacing, write_lesson_wav  # noqa: E402
from timed_text import parse_lrc, parse_srt, parse_vtt  # noqa: E402

TOLERANCE_S = 0.150
# The player's readers over a made book: test_content's MadeBook test, named by ctest.
PLAYER_READER = os.environ.get("PARLENDA_BOOK_READER")
WHITE_STAR = "\u2606"

LECTURE = [  # the transcript lesson: comma pauses of 0.6 s, sentence gaps down to 0.1 s
    ("Good morning, everyone, and welcome to the course.", "大家早上好，欢迎来到本课程。", "welcome"),
    ("Today we talk about travel.", "今天我们谈谈旅行。", ""),
    ("Please open your books, at page 10.", "请打开书，翻到第十页。", "page # 10"),
    ("Thank you.", "谢谢。", ""),
]
DIALOGUE = [  # LRC: starts only
    ("Where is the station?", "车站在哪里？"),
    ("Go straight on, then turn left.", "一直走，然后左转。"),
    ("Is it far from here?", "离这里远吗？"),
]
TALK = [("I like tea.", "我喜欢茶。"), ("She likes coffee, with milk.", "她喜欢加奶的咖啡。")]
SPOKEN = TALK + [("Tom drinks water.", "汤姆喝水。")]


def run_tool(lessons, program, *options):
    return subprocess.run([sys.executable, str(TOOL / "make_book.py"), str(lessons), str(program), *options],
                          capture_output=True, text=True)


def ffmpeg(source, target):
    subprocess.run(["ffmpeg", "-y", "-v", "error", "-i", str(source), str(target)], check=True)


def timestamp(seconds, comma):
    ms = round(seconds * 1000)
    return f"{ms // 3600000:02}:{ms // 60000 % 60:02}:{ms // 1000 % 60:02}{comma}{ms % 1000:03}"


def lrc_time(seconds):
    cs = round(seconds * 100)
    return f"[{cs // 6000:02}:{cs // 100 % 60:02}.{cs % 100:02}]"


def separated(text, mark):
    """Items of a player list: the text begins with the mark and each item is
    followed by one."""
    assert text.startswith(mark) and text.endswith(mark), f"not a {mark!r} list: {text[:40]!r}"
    return text[1:-1].split(mark)


def read_cp936(path):
    return path.read_bytes().decode("gbk")  # strict: any byte that is not code page 936 fails


def lesson_fields(path):
    """The five fields of each record, as written."""
    records = []
    for record in separated(read_cp936(path), "*"):
        fields = record.split("#")
        assert len(fields) == 6 and fields[5] == "", f"{path}: not five fields: {record!r}"
        records.append(fields[:5])
    return records


def read_lesson(path):
    return [(e, c, float(start), float(end), n) for e, c, start, end, n in lesson_fields(path)]


def book_as_written(program, book):
    """What the player's readers should give for a book, in the lines
    test_content's MadeBook test writes."""
    lines = [f"book\t{book}"]
    titles = separated(read_cp936(program / "SETTING" / "BookList" / f"{book}.dat"), "^")
    for number, title in enumerate(titles, start=1):
        lines.append(f"title\t{title}")
        lines += ["\t".join([str(number), *fields])
                  for fields in lesson_fields(program / "book" / book / f"{number}.dat")]
    return lines


class MadeBook(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = Path(tempfile.mkdtemp(prefix="make_book_test."))
        lessons = cls.lessons = cls.scratch / "Mine"
        lessons.mkdir()
        # 1: a script alone, spoken by the synthesiser; a "#" in its note.
        (lessons / "01-script.txt").write_text("Lesson One 第一课\nHello. | 你好。 | a #1 word\n", encoding="utf-8")
        # 2: a transcript (UTF-16 with its mark) beside a FLAC recording.
        pacing = Pacing(comma_s=0.6, gaps_s=(0.1, 0.5, 0.15))
        wav = cls.scratch / "lecture.wav"
        cls.lecture_spans = write_lesson_wav(wav, [e for e, _, _ in LECTURE], pacing)
        ffmpeg(wav, lessons / "02-lecture.flac")
        script = "# a bare transcript\n第二课 Lecture\n" + "".join(f"{e} | {c} | {n}\n" for e, c, n in LECTURE)
        (lessons / "02-lecture.txt").write_bytes(codecs.BOM_UTF16_LE + script.encode("utf-16-le"))
        # 3: LRC in GB18030 beside an m4a; starts 0.1 s early, a 200 ms offset,
        # both bilingual forms, a blank line ending the last sentence.
        wav = cls.scratch / "dialogue.wav"
        cls.dialogue_spans = write_lesson_wav(wav, [e for e, _ in DIALOGUE], Pacing(gaps_s=(0.4,)))
        ffmpeg(wav, lessons / "03-dialogue.m4a")
        starts = [a - 0.1 + 0.2 for a, _ in cls.dialogue_spans]
        lrc = ["[ti:对话 Dialogue]", "[ar:Teacher]", "[offset:+200]",
               f"{lrc_time(starts[0])}{DIALOGUE[0][0]} / {DIALOGUE[0][1]}",
               f"{lrc_time(starts[1])}{DIALOGUE[1][0]}", f"{lrc_time(starts[1])}{DIALOGUE[1][1]}",
               f"{lrc_time(starts[2])}{DIALOGUE[2][0]} / {DIALOGUE[2][1]}",
               f"{lrc_time(cls.dialogue_spans[2][1] + 0.3 + 0.2)}"]
        (lessons / "03-dialogue.lrc").write_bytes("\n".join(lrc).encode("gb18030"))
        # 4: SRT in code page 936 beside a WAV; 5: WebVTT (UTF-8 with its mark) beside an mp3.
        wav = lessons / "04-talk.wav"
        cls.talk_spans = write_lesson_wav(wav, [e for e, _ in TALK], Pacing(gaps_s=(0.5,)))
        cls.cues = [(a - 0.05, b + 0.05) for a, b in cls.talk_spans]
        srt = "".join(f"{i}\n{timestamp(a, ',')} --> {timestamp(b, ',')}\n{e}\n{c}\n\n"
                      for i, ((a, b), (e, c)) in enumerate(zip(cls.cues, TALK), start=1))
        (lessons / "04-talk.srt").write_bytes(srt.encode("cp936"))
        subprocess.run(["lame", "--quiet", "--abr", "48", str(wav), str(lessons / "05-news.mp3")], check=True)
        vtt = "WEBVTT\n\nNOTE made by the test\n\n" + "".join(
            f"cue{i}\n{timestamp(a, '.')} --> {timestamp(b, '.')} align:start\n<v Ann>{e}</v> / {c}\n\n"
            for i, ((a, b), (e, c)) in enumerate(zip(cls.cues, TALK)))
        (lessons / "05-news.vtt").write_bytes(codecs.BOM_UTF8 + vtt.encode("utf-8"))
        cls.program = cls.scratch / "program"
        cls.made = run_tool(lessons, cls.program)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.scratch, ignore_errors=True)

    def lesson(self, number):
        return read_lesson(self.program / "book" / "Mine" / f"{number}.dat")

    def assertHoldsItsSentences(self, stretches, spans, tolerance=TOLERANCE_S):
        for index, ((start, end), (first, last)) in enumerate(zip(stretches, spans)):
            with self.subTest(sentence=index + 1):
                self.assertLessEqual(start, first + 0.001, "the stretch cuts the first sound")
                self.assertGreaterEqual(end, last - 0.001, "the stretch cuts the last sound")
                self.assertLessEqual(first - start, tolerance)
                self.assertLessEqual(end - last, tolerance)
                if index + 1 < len(spans):
                    self.assertLessEqual(end, spans[index + 1][0], "holds the next sentence's speech")
                if index:
                    self.assertGreaterEqual(start, spans[index - 1][1], "holds the previous sentence's speech")

    def test_the_book_reads_back_in_the_player_layouts(self):
        self.assertEqual(self.made.returncode, 0, self.made.stderr)
        titles = separated(read_cp936(self.program / "SETTING" / "BookList" / "Mine.dat"), "^")
        self.assertEqual(titles, ["Lesson One 第一课", "第二课 Lecture", "对话 Dialogue", "04 talk", "05 news"])
        results = separated(read_cp936(self.program / "SETTING" / "Results" / "Mine.dat"), "^")
        self.assertEqual(results, [WHITE_STAR + t for t in titles])
        for number in range(1, 6):
            self.assertTrue((self.program / "Sound" / "Mine" / f"{number}.mp3").is_file())
            records = self.lesson(number)
            self.assertTrue(records)
        self.assertEqual([(e, c, n) for e, c, _, _, n in self.lesson(2)],
                         [(e, c, n.replace("#", "\uff03")) for e, c, n in LECTURE])
        self.assertEqual(self.lesson(1)[0][4], "a \uff031 word")
        self.assertIn("replaced by", self.made.stdout)
        self.assertEqual([(e, c) for e, c, _, _, _ in self.lesson(3)], DIALOGUE)
        self.assertEqual([(e, c) for e, c, _, _, _ in self.lesson(5)], TALK)
        self.assertFalse(list(self.program.glob(".*")), "the work folder was left behind")

    @unittest.skipUnless(PLAYER_READER, "needs the player's readers (run through ctest)")
    def test_the_players_readers_read_what_was_written(self):
        read = self.scratch / "read.txt"
        env = dict(os.environ, PARLENDA_MADE_BOOK=str(self.program), PARLENDA_MADE_BOOK_READ=str(read),
                   QT_QPA_PLATFORM="offscreen")
        reader = subprocess.run([PLAYER_READER, "--gtest_filter=MadeBook.*", "--gtest_color=no"],
                                env=env, capture_output=True, text=True)
        self.assertEqual(reader.returncode, 0, reader.stdout[-4000:])
        self.assertNotIn("SKIPPED", reader.stdout)
        blocks, books = {}, sorted(p.stem for p in (self.program / "SETTING" / "BookList").glob("*.dat"))
        for line in read.read_text(encoding="utf-8").splitlines():
            if line.startswith("book\t"):
                book = line[5:]
            blocks.setdefault(book, []).append(line)
        self.assertEqual(sorted(blocks), books)
        for book in books:
            self.assertEqual(blocks[book], book_as_written(self.program, book))

    def test_a_transcript_is_aligned_to_its_sentences(self):
        stretches = [(a, b) for _, _, a, b, _ in self.lesson(2)]
        self.assertHoldsItsSentences(stretches, self.lecture_spans)

    def test_lrc_ends_are_found_in_the_audio(self):
        stretches = [(a, b) for _, _, a, b, _ in self.lesson(3)]
        starts = [a - 0.1 for a, _ in self.dialogue_spans]  # the offset taken off
        for (start, _), want in zip(stretches, starts):
            self.assertAlmostEqual(start, want, delta=0.011)
        self.assertHoldsItsSentences(stretches, self.dialogue_spans)

    def test_srt_and_vtt_cues_are_the_stretches(self):
        for number in (4, 5):
            with self.subTest(lesson=number):
                stretches = [(a, b) for _, _, a, b, _ in self.lesson(number)]
                for got, want in zip(stretches, self.cues):
                    self.assertAlmostEqual(got[0], want[0], delta=0.0011)
                    self.assertAlmostEqual(got[1], want[1], delta=0.0011)
        # An mp3 recording is the lesson audio as it is.
        self.assertEqual((self.program / "Sound" / "Mine" / "5.mp3").read_bytes(),
                         (self.lessons / "05-news.mp3").read_bytes())

    def test_a_wma_book_gets_wma_audio_on_its_own_timeline(self):
        lessons = self.scratch / "Book07"
        lessons.mkdir()
        shutil.copy(self.lessons / "04-talk.wav", lessons)
        shutil.copy(self.lessons / "04-talk.srt", lessons)
        made = run_tool(lessons, self.program)
        self.assertEqual(made.returncode, 0, made.stderr)
        audio = self.program / "Sound" / "Book07" / "1.wma"
        codec = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "stream=codec_name", "-of",
                                "default=nokey=1:noprint_wrappers=1", str(audio)], capture_output=True, text=True)
        self.assertEqual(codec.stdout.strip(), "wmav2")
        # The wma encoder starts its decoded timeline 1024 samples into the source.
        shift = 1024 / 22050
        records = read_lesson(self.program / "book" / "Book07" / "1.dat")
        for (_, _, start, end, _), (a, b) in zip(records, self.cues):
            self.assertAlmostEqual(start, a - shift, delta=0.002)
            self.assertAlmostEqual(end, b - shift, delta=0.002)


class BadInput(unittest.TestCase):
    """Bad input is told with its file and line, and no book is written: a book
    of the same title already there stays as it was."""

    @classmethod
    def setUpClass(cls):
        cls.scratch = Path(tempfile.mkdtemp(prefix="make_book_bad."))
        cls.wav = cls.scratch / "talk.wav"
        cls.spans = write_lesson_wav(cls.wav, [e for e, _ in SPOKEN], Pacing(gaps_s=(0.5,)))
        cls.duration = cls.spans[-1][1] + 0.5

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.scratch, ignore_errors=True)

    def srt(self, cues):
        return "".join(f"{i}\n{timestamp(a, ',')} --> {timestamp(b, ',')}\nSome words.\n\n"
                       for i, (a, b) in enumerate(cues, start=1))

    def test_bad_input_is_told_and_writes_nothing(self):
        (a1, b1), (a2, b2), _ = self.spans
        talk = "Talk\n" + "".join(f"{e} | {c}\n" for e, c in SPOKEN)
        cases = [
            # name, files of the lesson folder, extra options, words the message holds
            ("cues overlap", {"x.wav": self.wav, "x.srt": self.srt([(a1, b1 + 0.8), (a2, b2)])}, [],
             ["x.srt:6", "before the cue above it ends"]),
            ("a cue runs backwards", {"x.wav": self.wav, "x.srt": self.srt([(b1, a1), (a2, b2)])}, [],
             ["x.srt:2", "before it starts"]),
            ("a time beyond the audio", {"x.wav": self.wav, "x.srt": self.srt([(a1, b1), (a2, self.duration + 3)])},
             [], ["x.srt:6", "beyond the end of x.wav"]),
            ("audio that cannot be decoded", {"x.mp3": b"not audio at all" * 50, "x.srt": self.srt([(a1, b1)])}, [],
             ["x.mp3", "cannot be decoded"]),
            ("a transcript line that is not spoken",
             {"x.wav": self.wav, "x.txt": talk + "Thank you very much for listening to us today.\n"}, [],
             ["cannot be aligned to x.wav", "x.txt:5"]),
            ("a spoken sentence missing from the transcript",
             {"x.wav": self.wav, "x.txt": f"Talk\n{SPOKEN[0][0]}\n{SPOKEN[2][0]}\n"}, [],
             ["cannot be aligned to x.wav", "between", "x.txt:2", "is in no line"]),
            ("the last spoken sentence missing from the transcript",
             {"x.wav": self.wav, "x.txt": f"Talk\n{SPOKEN[0][0]}\n{SPOKEN[1][0]}\n"}, [],
             ["cannot be aligned to x.wav", "after", "x.txt:3", "is in no line"]),
            ("a lyric line with no time", {"x.wav": self.wav, "x.lrc": "[00:00.50]I like tea.\nShe likes coffee.\n"},
             [], ["x.lrc:2", "no [mm:ss.xx] time"]),
            ("a cue with no English", {"x.wav": self.wav, "x.lrc": "[00:00.50]我喜欢茶。\n"}, [],
             ["x.lrc:1", "no English"]),
            ("a text in no known encoding", {"x.wav": self.wav, "x.srt": b"1\n\xff\xfe\xff\xff\x80\n"},
             ["--encoding", "utf-8"], ["x.srt:2", "not valid utf-8"]),
            ("a recording with no text", {"x.wav": self.wav, "y.txt": "Y\nHello.\n"}, [],
             ["x.wav", "no script or subtitles"]),
            ("a title that is no safe folder name", {"x.txt": "X\nHello.\n"}, ["--title", "My/Book"],
             ["'My/Book'", "not a safe folder name"]),
        ]
        for name, files, options, told in cases:
            with self.subTest(name):
                lessons = self.scratch / name.replace(" ", "-")
                lessons.mkdir()
                for file_name, content in files.items():
                    if isinstance(content, Path):
                        shutil.copy(content, lessons / file_name)
                    else:
                        data = content.encode("utf-8") if isinstance(content, str) else content
                        (lessons / file_name).write_bytes(data)
                program = self.scratch / (name.replace(" ", "-") + ".program")
                before = {"book/Mine/1.dat": b"*old#*", "SETTING/BookList/Mine.dat": b"^old^"}
                for relative, data in before.items():
                    (program / relative).parent.mkdir(parents=True, exist_ok=True)
                    (program / relative).write_bytes(data)
                made = run_tool(lessons, program, "--title", "Mine", *options)
                self.assertEqual(made.returncode, 1, made.stdout + made.stderr)
                for words in told:
                    self.assertIn(words, made.stderr)
                after = {str(p.relative_to(program)): p.read_bytes() for p in program.rglob("*") if p.is_file()}
                self.assertEqual(after, before)
                self.assertEqual(sorted(p.name for p in program.iterdir()), ["SETTING", "book"])


class BookRules(unittest.TestCase):
    """The player judges the same titles alike (tests/rules)."""

    def test_titles_are_judged_as_the_shared_cases_say(self):
        import json
        cases = json.loads((RULES_FILE.parent / "book_title_cases.json").read_text(encoding="utf-8"))
        for title in cases["safe"]:
            self.assertEqual(title_faults(title), [], title)
        for title in cases["unsafe"]:
            self.assertNotEqual(title_faults(title), [], repr(title))
        self.assertEqual(audio_extension("Book04"), ".wma")
        self.assertEqual(audio_extension("Book05"), ".mp3")


class TextReading(unittest.TestCase):
    """Texts in every encoding a teacher's editor saves, and the timed-text
    forms LRC players and subtitle editors write."""

    def test_encodings_are_detected_or_named(self):
        text = "第一课 Greetings\nGood morning. | 早上好。\n"
        cases = [
            ("UTF-8", text.encode("utf-8"), None),
            ("UTF-8 with its mark", codecs.BOM_UTF8 + text.encode("utf-8"), None),
            ("UTF-16 little-endian", codecs.BOM_UTF16_LE + text.encode("utf-16-le"), None),
            ("UTF-16 big-endian", codecs.BOM_UTF16_BE + text.encode("utf-16-be"), None),
            ("GB18030", text.encode("gb18030"), None),
            ("code page 936", text.encode("cp936"), None),
            ("code page 936, named", text.encode("cp936"), "cp936"),
            ("UTF-16 without its mark, named", text.encode("utf-16-be"), "utf-16-be"),
        ]
        for name, data, encoding in cases:
            with self.subTest(name):
                self.assertEqual(decode_text(data, "x.txt", encoding), text)
        with self.assertRaisesRegex(FormatError, r"x.txt:2: not valid utf-8"):
            decode_text(b"line one\n\xb5\xda\n", "x.txt", "utf-8")
        with self.assertRaisesRegex(FormatError, "x.txt: UTF-16 without a byte-order mark"):
            decode_text(text.encode("utf-16-le"), "x.txt")
        with self.assertRaisesRegex(FormatError, "unknown encoding"):
            decode_text(b"", "x.txt", "klingon")

    def cues(self, parse, text):
        told = []
        timed = parse(text, "x", told.append)
        return [(c.start, c.end, c.sentence.english, c.sentence.chinese, c.sentence.note) for c in timed.cues], timed

    def test_lrc_as_players_read_it(self):
        cues, timed = self.cues(parse_lrc, "\n".join([
            "[ti:Lesson Two]", "[ar:Ann]", "[length:01:02]", "[offset:-500]",
            "[00:05.5]Second. / 第二。",          # tenths; read after the line below
            "[00:01.00][00:09]Again, and again.",  # two times; a time without a fraction
            "[00:01.00]一遍又一遍。",               # the Chinese of the same time
            "[00:07.250]<00:07.250>Word <00:07.900>times. | 词 | note",
            "[00:08.00]",                           # ends the line before
            "[00:10.00]",                           # a time with text below: not an end
            "[00:10.00]Last.",
        ]))
        self.assertEqual(timed.title, "Lesson Two")
        self.assertEqual(cues, [
            (1.5, None, "Again, and again.", "一遍又一遍。", ""),
            (6.0, None, "Second.", "第二。", ""),
            (7.75, None, "Word times.", "词", "note"),
            (9.5, None, "Again, and again.", "", ""),
            (10.5, None, "Last.", "", ""),
        ])
        self.assertEqual([c.limit for c in timed.cues], [6.0, 7.75, 8.5, 10.5, None])

    def test_srt_and_vtt_cues(self):
        srt, _ = self.cues(parse_srt, "1\n00:00:01,000 --> 00:00:02,500\n<i>Hello</i> there.\n你好。\n\n"
                                      "2\n01:00:03,000 --> 01:00:04,000\n{\\an8}Rock &amp; roll.\n")
        self.assertEqual(srt, [(1.0, 2.5, "Hello there.", "你好。", ""), (3603.0, 3604.0, "Rock & roll.", "", "")])
        vtt, _ = self.cues(parse_vtt, "WEBVTT - a talk\n\nSTYLE\n::cue { color: red }\n\nNOTE a note\n\n"
                                      "intro\n00:01.000 --> 00:02.000 line:0\n<v Ann>Hi.</v> / 嗨。\n")
        self.assertEqual(vtt, [(1.0, 2.0, "Hi.", "嗨。", "")])

    def test_faults_name_their_line(self):
        cases = [
            (parse_lrc, "[00:01.00]One.\n[00:01.00]Two.\n", "x:1: two English lines"),
            (parse_lrc, "[offset:soon]\n", "x:1: \\[offset:\\] must be whole milliseconds"),
            (parse_srt, "1\n00:00:01,000 -> 00:00:02,000\nHi.\n", "x:1: a cue with no \"start --> end\""),
            (parse_srt, "1\n00:00:01,000 --> 00:00:02,000\n\n", "x:2: a cue with no text"),
            (parse_srt, "1\n00:00:01,000 --> 00:00:02,000\n你好。\n", "x:2: a cue with no English"),
            (parse_vtt, "00:01.000 --> 00:02.000\nHi.\n", "x:1: a WebVTT file begins with"),
        ]
        for parse, text, told in cases:
            with self.subTest(told):
                with self.assertRaisesRegex(FormatError, told):
                    parse(text, "x", print)


if __name__ == "__main__":
    unittest.main()
