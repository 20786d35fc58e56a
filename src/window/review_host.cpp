// The review page in the window: a page of its own over the place of the
// others, shown by its tab (study mode 9).
#include "review/review_page.h"
#include "window/form1.h"

void Form1::openReviewPage() {
  reviewPage_ = std::make_unique<review::ReviewPage>(studyLog_.get(), player_, widget());
  // Where the read-along page lies, right of the lesson tree, under the tabs.
  reviewPage_->setGeometry(2570 / 15, 1020 / 15, 9090 / 15, 6810 / 15);
  reviewPage_->hide();
}

void Form1::showReviewPage(bool shown) {
  if (!reviewPage_) return;  // the pages are laid out before the log opens
  if (shown && !reviewPage_->isVisible()) {
    reviewPage_->showDueCount();
    reviewPage_->raise();
  }
  reviewPage_->setVisible(shown);
}
