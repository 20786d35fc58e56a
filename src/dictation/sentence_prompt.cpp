// The sentence prompt: makes the sentence under the cursor current.
#include "app/numeric.h"
#include "content/lesson_text.h"
#include "dictation/mask.h"
#include "window/form1.h"

std::string Form1::currentRecord() const {
  const std::string& text = RichTextBox1.text();
  if (sentfrom < 1 || sentto <= sentfrom || sentto > int(text.size())) return {};
  return text.substr(sentfrom, sentto - sentfrom - 1);
}

void Form1::showEnglishOrMask(bool english) {
  Label1.setVisible(english);
  Label51.setVisible(!english);
}

void Form1::ty() {
  Label51.setCaption("");
  playcount = 0;
  content::Record r = content::parseRecord(currentRecord());
  hash1 = r.hash[0], hash2 = r.hash[1], hash3 = r.hash[2], hash4 = r.hash[3], hash5 = r.hash[4];
  takeStretch(r);
  Label1.setCaption(content::trimSpaces(r.english));
  Label51.setCaption(dictation::maskSentence(Label1.caption()));
  Label2.setCaption(content::trimSpaces(r.chinese));
  Label46.setCaption(r.note);
  Label7(5).setCaption(Label3.caption() + " / " + Label4.caption());

  // The read-along display: the English on one line, wrapped when too wide.
  const int available = Label7(11).width() + Label7(11).left() - 700;
  Label10.setWordWrap(false);
  Label10.setAutoSize(true);
  Label10.setCaption(Label1.caption());
  if (Label10.width() > available) {
    const int lineHeight = Label10.height();
    const int lines = Label10.width() / int(app::toInteger(0.95 * available)) + 1;
    Label10.wrapAt(available, lineHeight * lines);
  }
  // The Chinese grows below its design height when its lines need more.
  Label11.setCaption(Label2.caption());
  Label11.wrapAt(Label11.width(), kReadAlongChineseHeight);
  Label11.setTop(Label10.top() + Label10.height() + 130);
  placeTraces();

  if (studymode == 1)
    showEnglishOrMask(Check1.value() == 1);
  else if (studymode == 8)
    showEnglishOrMask(false);
  resetDictationCounters();
  Text2.setText("");
  Text2.setFocus();
  tellSentenceMadeCurrent();
}
