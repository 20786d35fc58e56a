// The one place where the elements' events meet their handlers.
#include "window/form1.h"

void Form1::wireEvents() {
  Unload = [this] { Form_Unload(); };

  // Course library
  TreeView1.NodeClick = [this](int node) { TreeView1_NodeClick(node); };
  TreeView1.MenuRequest = [this] { TreeView1_MenuRequest(); };
  List1.MouseUp = [this](const ui::MouseEvent& e) { List1_MouseUp(e); };
  Combo1.Click = [this] { Combo1_Click(); };
  Timer3.setInterval(10);
  Timer3.Tick = [this] { Timer3_Timer(); };

  // Navigation and toggles
  Command1.Click = [this] { Command1_Click(); };
  Command2.Click = [this] { Command2_Click(); };
  Command3.Click = [this] { Command3_Click(); };
  Command13.Click = [this] { Command13_Click(); };
  Command14.Click = [this] { Command14_Click(); };
  Command15.Click = [this] { Command15_Click(); };
  Command24.Click = [this] { Command24_Click(); };
  Label21.Click = [this] { Label21_Click(); };
  Image10.Click = [this] { Label21_Click(); };
  Label22.Click = [this] { Label22_Click(); };
  Image11.Click = [this] { Label22_Click(); };
  Label23.Click = [this] { Label23_Click(); };
  Image12.Click = [this] { Label23_Click(); };
  Label24.Click = [this] { Label24_Click(); };
  Image13.Click = [this] { Label24_Click(); };
  Label31.Click = [this] { Label31_Click(); };
  Image27.Click = [this] { Label31_Click(); };
  Check1.Click = [this] { Check1_Click(); };
  Check2.Click = [this] { Check2_Click(); };
  Check3.Click = [this] { Check3_Click(); };
  Check4.Click = [this] { Check4_Click(); };
  Check5.Click = [this] { Check5_Click(); };
  Label20.Click = [this](int i) { Label20_Click(i); };

  // Sentence player
  Command4.Click = [this] { Command4_Click(); };
  Timer1.setInterval(30);
  Timer1.Tick = [this] { Timer1_Timer(); };
  Timer2.setInterval(10);
  Timer2.Tick = [this] { Timer2_Timer(); };
  Option1.Click = [this] { Option1_Click(); };
  Option2.Click = [this] { Option2_Click(); };
  Option3.Click = [this] { Option3_Click(); };
  Combo2.Click = [this] { Combo2_Click(); };
  Combo3.Click = [this] { Combo3_Click(); };
  Command30.Click = [this] { Command30_Click(); };
  Command31.Click = [this] { Command31_Click(); };

  // Recording and comparison
  Command8.Click = [this] { Command8_Click(); };
  Command9.Click = [this] { Command9_Click(); };
  Command10.Click = [this] { Command10_Click(); };
  Command11.Click = [this] { Command11_Click(); };
  Command12.Click = [this] { Command12_Click(); };
  Timer4.setInterval(40);
  Timer4.Tick = [this] { Timer4_Timer(); };
  MMControl1.Done = [this] { MMControl1_Done(); };

  // Full-text reading and scrolling
  Command6.Click = [this] { Command6_Click(); };
  Command7.Click = [this] { Command7_Click(); };
  Command32.Click = [this] { Command32_Click(); };
  Command33.Click = [this] { Command33_Click(); };
  Combo4.KeyDown = [this](int key) { Combo4_KeyDown(key); };

  // Full-text and recall clicks (a line and its band give the same toggle)
  Label6.MouseDown = [this](int i, const ui::MouseEvent& e) { Label6_MouseDown(i, e); };
  Label6.MouseUp = [this](int i, const ui::MouseEvent& e) { Label6_MouseUp(i, e); };
  Label18.MouseDown = [this](int i, const ui::MouseEvent& e) { Label18_MouseDown(i, e); };
  Label18.MouseUp = [this](int i, const ui::MouseEvent& e) { Label18_MouseUp(i, e); };
  Label8.MouseDown = [this](int i, const ui::MouseEvent& e) { Label8_MouseDown(i, e); };
  Label8.MouseUp = [this](int i, const ui::MouseEvent& e) { Label8_MouseUp(i, e); };
  Label17.MouseDown = [this](int i, const ui::MouseEvent& e) { Label8_MouseDown(i, e); };
  Label17.MouseUp = [this](int i, const ui::MouseEvent& e) { Label8_MouseUp(i, e); };
  Image2.MouseDown = [this](int i, const ui::MouseEvent& e) { Image2_MouseDown(i, e); };
  Image2.MouseUp = [this](int i, const ui::MouseEvent& e) { Image2_MouseUp(i, e); };
  Command16.Click = [this] { Command16_Click(); };
  Picture2.Click = [this] { Picture2_Click(); };
  Picture5.Click = [this] { Picture2_Click(); };

  // Keyboard shortcuts
  KeyDown = [this](int key) { Form_KeyDown(key); };

  // Window chrome
  MouseDown = [this](const ui::MouseEvent& e) { Form_MouseDown(e); };
  MouseMove = [this](const ui::MouseEvent& e) { Form_MouseMove(e); };
  Label38.MouseDown = [this](const ui::MouseEvent&) { linkPress(Label38); };
  Label38.MouseUp = [this](const ui::MouseEvent& e) { Label38_MouseUp(e); };
  Label39.MouseDown = [this](const ui::MouseEvent&) { linkPress(Label39); };
  Label39.MouseUp = [this](const ui::MouseEvent& e) { Label39_MouseUp(e); };
  Image33.MouseDown = [this](const ui::MouseEvent& e) { Image33_MouseDown(e); };
  Image33.MouseMove = [this](const ui::MouseEvent& e) { Image33_MouseMove(e); };

  // Study pages
  Label14.MouseUp = [this](int k, const ui::MouseEvent& e) { Label14_MouseUp(k, e); };

  // Dictation and results
  // BEGIN dictation wiring
  Text2.KeyPress = [this](int& k) { Text2_KeyPress(k); };
  Command22.Click = [this] { Command22_Click(); };
  Command23.Click = [this] { Command23_Click(); };
  Command25.Click = [this] { Command25_Click(); };
  Command5.Click = [this] { Command5_Click(); };
  Combo5.Change = [this] { Combo5_Change(); };
  Combo5.Click = [this] { Combo5_Click(); };
  Combo5.KeyDown = [this](int key) {
    if (key == ui::kKeyReturn) checkPassMark();
  };
  Combo5.LostFocus = [this] { checkPassMark(); };
  Command29.Click = [this] { Command29_Click(); };
  // The score sheet
  Command26.Click = [this] { Command26_Click(); };
  Command27.Click = [this] { Command27_Click(); };
  Command28.Click = [this] { Command28_Click(); };
  // The sheet's own close button; the array's handler serves the window frame.
  Command17(3).Click = [this] { Command27_Click(); };
  // END dictation wiring

  // Window chrome
  Command17.Click = [this](int i) {
    if (i == 0) close();
    if (i == 1) minimize();
  };
}
