// The page tabs and the mode switcher that lays out the page of the study mode.
#include "app/numeric.h"
#include "window/form1.h"

namespace {

struct Page {
  int mode;
  const char* title;
  const char* instruction;
};
const Page kPages[] = {
    {1, "句子学习", ""},
    {2, "全文浏览", ""},
    {3, "回想中文", "点击英文句子下方的空行即可显示相对应的中文，按“重置”为恢复。"},
    {4, "回想英文", "点击中文句子上方的空行即可显示相对应的英文，按“重置”为恢复。"},
    {5, "跟读对比", ""},
    {8, "听写测试", ""},
    {9, "复习", ""},
};

const Page& pageOf(int mode) {
  for (const Page& p : kPages)
    if (p.mode == mode) return p;
  return kPages[0];
}

}  // namespace

void Form1::Label14_MouseUp(int k, const ui::MouseEvent&) {
  studyEvents_.raise(study::PageChanged{studymode, k});
  studymode = std::int16_t(k);
  if (k == 1) ty();
  // A row played on another page leaves its stretch behind: the read-along
  // page plays the sentence it shows.
  if (k == 5) takeStretch(content::parseRecord(currentRecord()));
  if (studymode != 8) WindowsMediaPlayer1.pause();
  Combo4.setFocus();
  Timer1.setEnabled(false);
  cc();
  if (studymode == 8 && sentenceCount() > 0) {
    // The dictation starts again at the first sentence.
    resetDictationProgress();
    sentto = 1;
    Command1_Click();
    Label3.setCaption("1");
    Label7(5).setCaption(Label3.caption() + " / " + Label4.caption());
    setNextButtons(sentenceCount() > 1);
    setPreviousButtons(false);
  }
  Image30.setLeft(Label14(k).left() - 60);
}

void Form1::cc() {
  lessonState_.setPage(studymode);
  playcount = 0;
  Command6.setCaption("全文朗读");
  Command7.setCaption("暂停朗读");
  Command7.setEnabled(false);

  const Page& page = pageOf(studymode);
  Label7(12).setCaption(page.title);
  Label7(13).setCaption(page.instruction);

  const int m = studymode;
  const bool p1 = m == 1, p8 = m == 8, text = m == 2 || m == 3 || m == 4;
  Frame5.setVisible(p1);
  Frame11.setVisible(p8);
  Frame2.setVisible(p1);
  Frame13.setVisible(p8);
  Frame1.setVisible(p1 || p8);
  Frame7.setVisible(p1);
  Frame8.setVisible(p1 || p8);
  Frame21.setVisible(p8);
  if (m != 5) Shape3.setVisible(p1 || p8);
  Picture5.setVisible(text);
  Shape8.setVisible(text);
  Frame3.setVisible(m == 2);
  Command16.setVisible(m == 3 || m == 4);
  Picture4.setVisible(m == 5);
  Frame4.setVisible(p1);
  Frame12.setVisible(p8);
  Frame14.setVisible(p8);
  Label13.setVisible(m == 5);
  showReviewPage(m == 9);
  // The dictation page's key hint comes back with the next key there; its
  // notice goes with the page.
  Picture12.setVisible(false);
  Label56.setVisible(false);

  switch (m) {
    case 1:
      showEnglishOrMask(Check1.value() == 1);
      Text2.setFocus();
      Frame8.setLeft(Frame7.left() + Frame7.width() + 60);
      Label22.setCaption("    显示中文");
      Label46.setTop(4029);
      Frame1.setLeft(kSentenceProgressLeft);
      Combo2.setText(repeatstudy);
      Combo3.setText(pausestudy);
      break;
    case 8:
      showEnglishOrMask(false);
      Text2.setFocus();
      Frame8.setLeft(Frame7.left());
      Label22.setCaption("    句子中文提示");
      Label46.setTop(-8975);
      // Beside the dictation progress bar, which takes its page-1 place.
      Frame1.setLeft(Frame21.left() - Frame1.width() - 60);
      Combo2.setText("1");
      Combo3.setText("0");
      break;
    case 2:
      Combo2.setText(repeatbrowse);
      Combo3.setText(pausebrowse);
      presentRows();
      break;
    case 3:
    case 4:
      Combo2.setText("1");
      Combo3.setText("0");
      presentRows();
      break;
    default:
      Combo2.setText("1");
      Combo3.setText("0");
      break;
  }
  Timer2.setInterval(app::toInt(app::val(Combo3.text()) * 1000 + 10));
  Timer2.setEnabled(false);
}

// The rows of the full text as the page shows them: a hidden line keeps its
// place and its click, only its text takes the background colour.
void Form1::presentRows() {
  const int m = studymode;
  const int rows = (m == 4 ? Label6.count() : Label8.count()) - 1;
  const ui::Color englishInk = Label6(0).foreColor(), englishHidden = Label6(0).backColor();
  const ui::Color chineseInk = Label8(0).foreColor(), chineseHidden = Label8(0).backColor();
  for (int i = 1; i <= rows; ++i) {
    bool english = m == 2 ? Check5.value() != 0 : m == 3;
    bool chinese = m == 2 ? Check3.value() != 0 : m == 4;
    Label6(i).setForeColor(english ? englishInk : englishHidden);
    Label8(i).setForeColor(chinese ? chineseInk : chineseHidden);
    Label6(i).setMousePointer(m == 3 ? ui::Pointer::Default : ui::Pointer::Hand);
    Label8(i).setMousePointer(m == 3 ? ui::Pointer::Hand : ui::Pointer::Default);
    Image2(i).setVisible(m == 4);
    Label17(i).setVisible(m == 3);
    Label18(i).setVisible(m == 4);
    Label12(i).setVisible(m != 4);
    if (m != 2) Line3(i).setVisible(false);
  }
  if (m == 2) {
    Image12.setPicture(path(Check3.value() != 0 ? "\\bitmap\\a1.jpg" : "\\bitmap\\0.jpg"));
    Image27.setPicture(path(Check5.value() != 0 ? "\\bitmap\\a1.jpg" : "\\bitmap\\0.jpg"));
  }
}
