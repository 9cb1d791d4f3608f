#include "game/title_bar_win.h"

#include "common/text.h"
#include "game/title_bar.h"
#include "package/launcher_config.h"
#include "package/load_outcome_win.h"
#include "package/scaled_images_win.h"
#include "win/dpi.h"
#include "win/text.h"

namespace {

constexpr char kLogoMember[] = "config/logo.png";

}  // namespace

bool GameTitleBar::MakeFont(int dpi) {
  LOGFONTA description{};
  if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description) == 0) return false;
  description.lfWeight = FW_BOLD;
  if (dpi != 0) {
    // The stock font is made for the system's DPI.
    description.lfHeight = ScaleBetween(description.lfHeight, win::SystemDpi(), dpi);
    description.lfWidth = ScaleBetween(description.lfWidth, win::SystemDpi(), dpi);
  }
  font_.Reset(CreateFontIndirectA(&description));
  return static_cast<bool>(font_);
}

void GameTitleBar::Fit(Button& button, const ScaledSheet& sheet, const GameButtonSpec& record,
                       const SpriteSpec& sprite, const DisplayScale& scale) {
  button.x = scale.Length(record.x);
  button.y = scale.Length(record.y);
  button.width = scale.Length(sprite.width);
  button.height = scale.Length(sprite.height);
  const ButtonFrames frames = ButtonFramesOf(sprite);
  button.control->SetImages(sheet.Cut(frames.normal, button.width, button.height),
                            sheet.Cut(frames.pressed, button.width, button.height),
                            sheet.Cut(frames.hover, button.width, button.height));
}

bool GameTitleBar::CreateButtons(const ScaledSheet& sheet, const LauncherConfig& config, HWND parent,
                                 const RECT& workArea, const DisplayScale& scale) {
  const TextEncoding encoding = SkinTextEncoding(config);
  for (std::size_t j = 0; j < config.gameButtons.size(); ++j) {
    const GameButtonSpec& record = config.gameButtons[j];
    const int spriteIndex = ButtonSpriteIndex(record, config.sprites.size());
    if (spriteIndex < 0) continue;
    const SpriteSpec& sprite = config.sprites[static_cast<std::size_t>(spriteIndex)];
    Button button{std::make_unique<CSkinButton>(), record.type};
    const int x = scale.Length(record.x), y = scale.Length(record.y);
    const RECT rect{workArea.right + x, workArea.top + y, workArea.right + x + scale.Length(sprite.width),
                    workArea.top + y + scale.Length(sprite.height)};
    const UINT id = static_cast<UINT>(record.type + kButtonIdBase);
    if (!button.control->Create(win::WideFromSkin(record.title, encoding), WS_CHILD | WS_VISIBLE, rect, parent, id))
      return false;
    button.control->SetKind(static_cast<BYTE>(record.type));
    Fit(button, sheet, record, sprite, scale);
    if (scale.Scales()) button.control->SetFontDpi(scale.Dpi());
    if (ButtonOpensLink(record.type)) button.control->SetLink(win::WideFromSkin(record.url, encoding));
    if (!record.tips.empty()) button.control->SetTip(win::WideFromSkin(record.tips, encoding));
    button.control->SetCaptionColor(record.color);
    button.control->SetRecordIndex(static_cast<int>(j));
    buttons_.push_back(std::move(button));
  }
  return true;
}

bool GameTitleBar::CreateLogo(AttachedPackage* package, const LauncherConfig& config, HWND parent,
                              const DisplayScale& scale) {
  DibImage picture;
  if (!ReportLoad(LoadScaledImage(package, kLogoMember, scale, &picture))) return false;
  const Point at = scale.Position({config.logx, config.logy});
  logo_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP, at.x, at.y, picture.Width(),
                          picture.Height(), parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kLogoId)),
                          GetModuleHandleA(nullptr), nullptr);
  if (logo_ == nullptr) return false;
  ShowLogoPicture(picture);
  return true;
}

void GameTitleBar::ShowLogoPicture(DibImage& picture) {
  win::UniqueBitmap given(picture.Detach());
  SendMessageA(logo_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(given.Get()));
  // A static control shows a copy of a bitmap with alpha, and never frees
  // that copy itself: the copy is the one to keep and free, the original is
  // no longer needed. The picture shown before goes now.
  const auto shown = reinterpret_cast<HBITMAP>(SendMessageA(logo_, STM_GETIMAGE, IMAGE_BITMAP, 0));
  logoBitmap_ = shown != nullptr && shown != given.Get() ? win::UniqueBitmap(shown) : std::move(given);
}

void GameTitleBar::SetUpTitle(const LauncherConfig& config, const DisplayScale& scale) {
  const Point at = scale.Position({config.titlex, config.titley});
  titlePosition_ = {at.x, at.y};
  SetTitleText(config.title, SkinTextEncoding(config));
  titleColour_ = config.titleColor;
}

void GameTitleBar::Rescale(const ScaledSheet& sheet, AttachedPackage* package, const LauncherConfig& config,
                           const DisplayScale& scale) {
  for (Button& button : buttons_) {
    const GameButtonSpec& record = config.gameButtons[static_cast<std::size_t>(button.control->GetRecordIndex())];
    const int spriteIndex = ButtonSpriteIndex(record, config.sprites.size());
    Fit(button, sheet, record, config.sprites[static_cast<std::size_t>(spriteIndex)], scale);
    button.control->SetFontDpi(scale.Dpi());
  }
  DibImage picture;
  if (logo_ != nullptr && LoadScaledImage(package, kLogoMember, scale, &picture) == LoadOutcome::kLoaded) {
    const Point at = scale.Position({config.logx, config.logy});
    MoveWindow(logo_, at.x, at.y, picture.Width(), picture.Height(), TRUE);
    ShowLogoPicture(picture);
  }
  const Point at = scale.Position({config.titlex, config.titley});
  titlePosition_ = {at.x, at.y};
  MakeFont(scale.Dpi());
}

void GameTitleBar::SetTitleText(const std::string& text, TextEncoding encoding) {
  titleText_ = win::WideFromSkin(CutToField(text, 256, encoding), encoding);
}

void GameTitleBar::SetTitleText(const std::string& prefix, std::u16string_view pageText, TextEncoding encoding) {
  titleText_ = win::WideFromSkin(prefix, encoding);
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
