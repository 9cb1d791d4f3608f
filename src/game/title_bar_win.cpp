#include "game/title_bar_win.h"

#include "common/text.h"
#include "game/title_bar.h"
#include "package/launcher_config.h"
#include "package/load_outcome_win.h"
#include "package/package_images_win.h"
#include "win/text.h"

namespace {

HBITMAP Cut(HBITMAP sheet, const Rect& r) { return CutBitmap(sheet, r.left, r.top, r.Width(), r.Height()); }

}  // namespace

bool GameTitleBar::MakeFont() {
  LOGFONTA description{};
  if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description) == 0) return false;
  description.lfWeight = FW_BOLD;
  font_.Reset(CreateFontIndirectA(&description));
  return static_cast<bool>(font_);
}

bool GameTitleBar::CreateButtons(HBITMAP sheet, const LauncherConfig& config, HWND parent, const RECT& workArea) {
  for (std::size_t j = 0; j < config.gameButtons.size(); ++j) {
    const GameButtonSpec& record = config.gameButtons[j];
    const int spriteIndex = ButtonSpriteIndex(record, config.sprites.size());
    if (spriteIndex < 0) continue;
    const SpriteSpec& sprite = config.sprites[static_cast<std::size_t>(spriteIndex)];
    auto button = std::make_unique<CSkinButton>();
    const RECT rect{workArea.right + record.x, workArea.top + record.y, workArea.right + record.x + sprite.width,
                    workArea.top + record.y + sprite.height};
    const UINT id = static_cast<UINT>(record.type + kButtonIdBase);
    if (!button->Create(record.title.c_str(), WS_CHILD | WS_VISIBLE, rect, parent, id)) return false;
    const ButtonFrames frames = ButtonFramesOf(sprite);
    button->SetKind(static_cast<BYTE>(record.type));
    button->SetImages(Cut(sheet, frames.normal), Cut(sheet, frames.pressed), Cut(sheet, frames.hover));
    if (ButtonOpensLink(record.type)) button->SetLink(record.url.c_str());
    if (!record.tips.empty()) button->SetTip(record.tips.c_str());
    button->SetCaptionColor(record.color);
    button->SetRecordIndex(static_cast<int>(j));
    buttons_.push_back({std::move(button), record.type, record.x, record.y, sprite.width, sprite.height});
  }
  return true;
}

bool GameTitleBar::CreateLogo(AttachedPackage* package, const LauncherConfig& config, HWND parent) {
  DibImage picture;
  if (!ReportLoad(LoadPackageImage(package, "config/logo.png", &picture))) return false;
  logo_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP, config.logx, config.logy, picture.Width(),
                          picture.Height(), parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kLogoId)),
                          GetModuleHandleA(nullptr), nullptr);
  if (logo_ == nullptr) return false;
  logoBitmap_.Reset(picture.Detach());
  SendMessageA(logo_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logoBitmap_.Get()));
  // A static control shows a copy of a bitmap with alpha, and never frees
  // that copy itself: the copy is the one to keep and free, the original is
  // no longer needed.
  const auto shown = reinterpret_cast<HBITMAP>(SendMessageA(logo_, STM_GETIMAGE, IMAGE_BITMAP, 0));
  if (shown != nullptr && shown != logoBitmap_.Get()) logoBitmap_.Reset(shown);
  return true;
}

void GameTitleBar::SetUpTitle(const LauncherConfig& config) {
  titlePosition_ = {config.titlex, config.titley};
  SetTitleText(config.title);
  titleColour_ = config.titleColor;
}

void GameTitleBar::SetTitleText(const std::string& text) {
  titleText_ = win::WideFromGbk(CutToField(text, 256, IsGbkLeadByte));
}

void GameTitleBar::SetTitleText(const std::string& prefix, std::u16string_view pageText) {
  titleText_ = win::WideFromGbk(prefix);
  titleText_.append(pageText.begin(), pageText.end());
}

std::string GameTitleBar::TitleText() const { return win::GbkFromWide(titleText_); }

CSkinButton* GameTitleBar::FindButtonByKind(int kind) const {
  for (const Button& button : buttons_)
    if (button.kind == kind) return button.control.get();
  return nullptr;
}

void GameTitleBar::Layout(int windowWidth, const FrameMetrics& frame, bool maximised) const {
  for (const Button& button : buttons_) {
    const Point at = ButtonPosition(windowWidth, button.x, button.y, frame, maximised);
    MoveWindow(button.control->Handle(), at.x, at.y, button.width, button.height, FALSE);
  }
}

void GameTitleBar::Show(int kind, bool show) const {
  if (CSkinButton* button = FindButtonByKind(kind)) ShowWindow(button->Handle(), show ? SW_SHOWNORMAL : SW_HIDE);
}

void GameTitleBar::ShowSizeButtons(bool maximised) const {
  Show(kButtonRestore, maximised);
  Show(kButtonMaximise, !maximised);
}

void GameTitleBar::ShowAll(bool show) const {
  const int command = show ? SW_SHOWNORMAL : SW_HIDE;
  for (const Button& button : buttons_) ShowWindow(button.control->Handle(), command);
  if (logo_ != nullptr) ShowWindow(logo_, command);
}

void GameTitleBar::RepaintButtons() const {
  for (const Button& button : buttons_)
    RedrawWindow(button.control->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void GameTitleBar::PaintTitle(HDC dc) const {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, titleColour_);
  win::SelectedObject selected(dc, font_ ? static_cast<HGDIOBJ>(font_.Get()) : GetStockObject(DEFAULT_GUI_FONT));
  TextOutW(dc, titlePosition_.x, titlePosition_.y, titleText_.data(), static_cast<int>(titleText_.size()));
}
