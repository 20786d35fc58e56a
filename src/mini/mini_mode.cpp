#include "mini/mini_mode.h"

#include <QGuiApplication>
#include <QScreen>

#include "mini/mini_strip.h"
#include "mini/strip_place.h"
#include "platform/ui/ui.h"

namespace mini {

struct MiniMode::Impl {
  Impl(study::SentencePlayer& player, ui::Window& window, std::string file)
      : full(window), stateFile(std::move(file)), strip(player) {}
  ui::Window& full;
  std::string stateFile;
  MiniStrip strip;
  StripPlace place;
  QPoint fullPlace;  // where the full window was when the strip took over
  study::StudyEvents::Subscription closing;

  void save() {
    if (strip.isVisible()) place.left = strip.x(), place.top = strip.y();
    writeStripPlace(stateFile, place);
  }
  // The place of last time when a screen shows it; else over the full
  // window's top-left corner.
  QPoint stripPlace() const {
    if (place.left && place.top) {
      const QPoint p(*place.left, *place.top);
      if (QGuiApplication::screenAt(p + QPoint(20, 10))) return p;
    }
    return fullPlace + QPoint(40, 40);
  }
};

MiniMode::MiniMode(study::SentencePlayer& player, ui::Window& fullWindow, std::string stateFile)
    : impl_(std::make_unique<Impl>(player, fullWindow, std::move(stateFile))) {
  impl_->place = readStripPlace(impl_->stateFile);
  impl_->strip.backToFullWindow = [this] { leave(); };
  impl_->strip.placed = [this] { impl_->save(); };
  // The program ends from the full window's shut-down: the strip goes too,
  // and the file keeps that it was on.
  impl_->closing = player.events().subscribe([this](const study::Event& e) {
    if (std::holds_alternative<study::ProgramClosing>(e)) impl_->strip.hide();
  });
}

MiniMode::~MiniMode() = default;

void MiniMode::enter() {
  if (on()) return;
  QWidget* full = impl_->full.widget();
  impl_->fullPlace = full->pos();
  impl_->strip.refresh();
  impl_->strip.move(impl_->stripPlace());
  full->hide();
  impl_->strip.show();
  impl_->strip.raise();
  impl_->strip.activateWindow();
  impl_->strip.setFocus();
  impl_->place.on = true;
  impl_->save();
}

void MiniMode::leave() {
  if (!on()) return;
  impl_->place.on = false;
  impl_->save();  // with where the strip stood
  impl_->strip.hide();
  QWidget* full = impl_->full.widget();
  full->move(impl_->fullPlace);
  full->show();
  full->raise();
  full->activateWindow();
}

bool MiniMode::on() const { return impl_->strip.isVisible(); }

void MiniMode::resume() {
  if (impl_->place.on) enter();
}

MiniStrip& MiniMode::strip() { return impl_->strip; }

}  // namespace mini
