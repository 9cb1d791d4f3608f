#include "login/login_window_win.h"

#include <algorithm>
#include <utility>

#include "app/resource.h"
#include "common/text.h"
#include "login/login_rules.h"
#include "package/load_outcome_win.h"
#include "package/picture_scale.h"
#include "package/scaled_images_win.h"
#include "update/update_worker_win.h"
#include "win/text.h"

namespace {

bool IsKeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// Posted once the companion is shown: the browsers are made when it comes.
constexpr UINT kMakeBrowsersMessage = WM_APP + 1;

}  // namespace

CLauncherStandardDlg::CLauncherStandardDlg(HWND parent, const Skin& skin, GameAddressSink handOver)
    : CStandardDialog(IDD_LAUNCHER_STANDARD, kLoginKeyColour, parent), skin_(skin), handOver_(std::move(handOver)) {}

CLauncherStandardDlg::~CLauncherStandardDlg() { loginPageEvents_.Disconnect(); }

BOOL CLauncherStandardDlg::OnInitDialog() {
  CStandardDialog::OnInitDialog();
  documentCompleteCount_ = 0;
  Build();
  return TRUE;
}

void CLauncherStandardDlg::Build() {
  const LauncherConfig& config = skin_.Config();
  // The check runs while the player logs in, whatever becomes of the links.
  // A working directory too long for the update's paths gives up the check
  // only: the player still gets the window to log in with.
  if (std::unique_ptr<UpdateWorker> worker = MakeUpdateWorker(config, Handle(), skin_.afterUpdate))
    StartUpdateWorker(std::move(worker));
  if (TranslucentWindow() == nullptr) return;
  fillColour_ = config.loginCenterColor;
  const std::wstring title = win::WideFromSkin(config.title, SkinTextEncoding(config));
  SetWindowTextW(Handle(), title.c_str());
  SetWindowTextW(TranslucentWindow()->Handle(), title.c_str());

  const std::vector<PlannedLink> plan = PlanLinks(config.links);
  bool lastMadeIsArea = false;
  for (std::size_t i = 0; i < plan.size(); ++i) {
    const PlannedLink& planned = plan[i];
    const LinkSpec& link = config.links[i];
    if (planned.kind == LinkKind::kButton) {
      if (!MakeButton(link, planned.number, planned.controlId)) return;
      lastMadeIsArea = false;
    }
    if (planned.kind == LinkKind::kHtmlArea) {
      // Making a browser control brings in the browser's libraries, the
      // heaviest step of the set-up: the player gets the finished window
      // first and the areas their browsers right after. The place is
      // filled now, as it is until a page shows.
      const RECT rect{planned.rect.left, planned.rect.top, planned.rect.right, planned.rect.bottom};
      plannedAreas_.push_back({&link, planned.controlId, rect, buttons_.size(), lastMadeIsArea});
      htmlArea_ = rect;
      lastMadeIsArea = true;
    }
  }
}

void CLauncherStandardDlg::RequestBrowsers() {
  if (browsersRequested_ || plannedAreas_.empty()) return;
  browsersRequested_ = true;
  PostMessageA(Handle(), kMakeBrowsersMessage, 0, 0);
}

void CLauncherStandardDlg::MakeBrowsers() {
  // The window and its buttons are drawn first, before the thread is taken
  // up for a while: this comes ahead of the paint a shown window waits for.
  RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  const std::vector<PlannedArea> areas = std::exchange(plannedAreas_, {});
  for (std::size_t made = 0; made < areas.size(); ++made) {
    const PlannedArea& area = areas[made];
    if (Handle() == nullptr) return;  // closed while an earlier page was being set up
    // The control made just before this one in link order: the area before
    // it (made already, or this one would not be reached) or a button.
    HWND above = HWND_TOP;
    if (area.followsArea)
      above = browsers_[made - 1]->Handle();
    else if (area.buttonsBefore > 0)
      above = buttons_[area.buttonsBefore - 1]->Handle();
    if (MakeHtmlArea(*area.link, area.id, area.rect, above)) continue;
    // The links after a browser that cannot be made are not made: the
    // buttons already shown for them go again, and the fill is where the
    // last area that was made has it.
    for (std::size_t i = area.buttonsBefore; i < buttons_.size(); ++i) DestroyWindow(buttons_[i]->Handle());
    buttons_.resize(std::min(buttons_.size(), area.buttonsBefore));
    htmlArea_ = made > 0 ? areas[made - 1].rect : RECT{};
    InvalidateRect(Handle(), nullptr, TRUE);
    return;
  }
}

DisplayScale CLauncherStandardDlg::Scale() const {
  return TranslucentWindow() != nullptr ? TranslucentWindow()->Scale() : DisplayScale();
}

RECT CLauncherStandardDlg::Scaled(const RECT& r) const {
  const Rect scaled = Scale().Area({r.left, r.top, r.right, r.bottom});
  return {scaled.left, scaled.top, scaled.right, scaled.bottom};
}

bool CLauncherStandardDlg::MakeButton(const LinkSpec& link, int number, unsigned id) {
  AttachedPackage* package = skin_.Package();
  const DisplayScale scale = Scale();
  DibImage normal, pressed;
  if (!ReportLoad(LoadScaledImage(package, ButtonImageName(number, false).c_str(), scale, &normal))) return false;
  auto button = std::make_unique<CSkinButton>();
  const Point at = scale.Position({link.x, link.y});
  const RECT rect{at.x, at.y, at.x + normal.Width(), at.y + normal.Height()};
  if (!button->Create("", WS_CHILD | WS_VISIBLE, rect, Handle(), id)) return false;
  if (!ReportLoad(LoadScaledImage(package, ButtonImageName(number, true).c_str(), scale, &pressed))) return false;
  button->SetImages(normal.Detach(), pressed.Detach(), nullptr);
  button->SetLink(win::WideFromSkin(link.url, SkinTextEncoding(skin_.Config())));
  button->SetKind(static_cast<BYTE>(link.type));
  button->SetRecordIndex(number - 1);  // its link, for a new scale
  buttons_.push_back(std::move(button));
  return true;
}

bool CLauncherStandardDlg::LoadButtonImages(int number, DibImage* normal, DibImage* pressed) const {
  return LoadScaledImage(skin_.Package(), ButtonImageName(number, false).c_str(), Scale(), normal) ==
             LoadOutcome::kLoaded &&
         LoadScaledImage(skin_.Package(), ButtonImageName(number, true).c_str(), Scale(), pressed) ==
             LoadOutcome::kLoaded;
}

void CLauncherStandardDlg::OnScaleChanged() {
  const LauncherConfig& config = skin_.Config();
  for (const auto& button : buttons_) {
    const auto index = static_cast<std::size_t>(button->GetRecordIndex());
    DibImage normal, pressed;
    // The pictures loaded once already; one that no longer does keeps
    // the button as it was.
    if (index >= config.links.size() || !LoadButtonImages(static_cast<int>(index) + 1, &normal, &pressed)) continue;
    const Point at = Scale().Position({config.links[index].x, config.links[index].y});
    MoveWindow(button->Handle(), at.x, at.y, normal.Width(), normal.Height(), TRUE);
    button->SetImages(normal.Detach(), pressed.Detach(), nullptr);
  }
  for (const PlannedLink& planned : PlanLinks(config.links)) {
    if (planned.kind != LinkKind::kHtmlArea) continue;
    if (HWND area = GetDlgItem(Handle(), static_cast<int>(planned.controlId))) {
      const RECT r = Scaled({planned.rect.left, planned.rect.top, planned.rect.right, planned.rect.bottom});
      MoveWindow(area, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
  }
  InvalidateRect(Handle(), nullptr, TRUE);
}

bool CLauncherStandardDlg::MakeHtmlArea(const LinkSpec& link, unsigned id, const RECT& rect, HWND above) {
  browsers_.push_back(std::make_unique<CWebBrowserEx>());
  CWebBrowserEx& browser = *browsers_.back();
  if (!browser.Create("", WS_CHILD, Scaled(rect), Handle(), id)) return false;
  // A new child comes last among its siblings; where an area overlaps a
  // button, the one made first in link order lies on top and takes the
  // clicks.
  SetWindowPos(browser.Handle(), above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // The login page's events are the ones that count; they are heard before
  // its first navigation, which may already hand the game over.
  if (id == kFirstHtmlAreaId) loginPageEvents_.Connect(browser);
  browser.Navigate("about:blank");
  browser.UiController().SetDpiAware(ScalesWithDisplay(skin_.Config()));
  browser.AttachUiController(false);
  browser.Navigate(win::WideFromSkin(link.url, SkinTextEncoding(skin_.Config())));
  // A page that completed while this area was being made has shown the
  // areas made before it; this one joins them.
  if (htmlAreaShown_) ShowWindow(browser.Handle(), SW_SHOW);
  return true;
}

bool CLauncherStandardDlg::OnCommand(WORD id, WORD, HWND) {
  if (id == kMinimiseCommand) {
    ShowWindow(Handle(), SW_MINIMIZE);
    if (TranslucentWindow() != nullptr) ShowWindow(TranslucentWindow()->Handle(), SW_MINIMIZE);
    return true;
  }
  if (id == kCloseCommand) {
    ConfirmClose();
    return true;
  }
  return false;
}

void CLauncherStandardDlg::ConfirmClose() {
  const LauncherConfig& config = skin_.Config();
  if (win::AskOkCancel(Handle(), win::WideFromSkin(config.closeMsg, SkinTextEncoding(config)), win::ProgramCaption()))
    OnOK();
}

LRESULT CLauncherStandardDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kMakeBrowsersMessage) {
    MakeBrowsers();
    return 0;
  }
  // A window started minimised, or of no size, is never painted: the pages
  // load all the same.
  if (message == WM_SHOWWINDOW && wParam) RequestBrowsers();
  if (message != WM_PAINT) return CStandardDialog::WindowProc(message, wParam, lParam);
  // The dialog's own painting erases to the key colour; the page's place
  // is filled after it, so the fill is what shows until the page is there.
  const LRESULT result = CStandardDialog::WindowProc(message, wParam, lParam);
  if (!htmlAreaShown_) {
    win::WindowDc dc(Handle());
    win::UniqueBrush brush(CreateSolidBrush(fillColour_));
    const RECT fill = Scaled(htmlArea_);
    FillRect(dc.Get(), &fill, brush.Get());
  }
  return result;
}

bool CLauncherStandardDlg::PreTranslateMessage(MSG* message) {
  if (message->message == WM_KEYDOWN && CompanionKeyFilter(static_cast<unsigned>(message->wParam)) ==
                                            KeyFilter::kPassThrough)
    return false;  // Enter and Escape go to the focused control, never to OK or Cancel
  if (message->message >= WM_KEYFIRST && message->message <= WM_KEYLAST) {
    for (const auto& browser : browsers_)
      if (browser->Handle() != nullptr && IsChild(browser->Handle(), message->hwnd) &&
          browser->TranslateControlKey(message))
        return true;
  }
  return CStandardDialog::PreTranslateMessage(message);
}

void CLauncherStandardDlg::OnDocumentComplete(IDispatch*, std::wstring_view) {
  if (++documentCompleteCount_ != 1) return;
  htmlAreaShown_ = true;
  for (const auto& browser : browsers_)
    if (browser->Handle() != nullptr) ShowWindow(browser->Handle(), SW_SHOW);
}

void CLauncherStandardDlg::OnBeforeNavigate2(IDispatch*, std::wstring_view url) {
  // The address as the login page's buffer holds it: at most 511 bytes in
  // the skin's encoding, that of the configured prefix it is compared with.
  const LauncherConfig& config = skin_.Config();
  const TextEncoding encoding = SkinTextEncoding(config);
  const std::string address = CutToField(win::SkinFromWide(url, encoding), kNavigationBufferSize, encoding);
  const auto gameAddress = HandOverAddress(address, config.gameheader);
  if (!gameAddress) return;
  if (handOver_) handOver_(gameAddress->c_str());
  OnOK();
}

CLauncherTranslucentDlg::CLauncherTranslucentDlg(const Skin& skin, std::unique_ptr<PackagePicture> background,
                                                 GameAddressSink handOver)
    : CTranslucentDialog(IDD_LAUNCHER_TRANSLUCENT, std::move(background), nullptr),
      skin_(skin),
      handOver_(std::move(handOver)) {}

bool CLauncherTranslucentDlg::ScalesWithDisplay() const { return ::ScalesWithDisplay(skin_.Config()); }

std::unique_ptr<PackagePicture> CLauncherTranslucentDlg::LoadDoubleSizePicture() {
  // A skin without one shows the background scaled; nothing is reported.
  std::unique_ptr<PackagePicture> picture;
  if (LoadPackagePicture(skin_.Package(), DoubleSizeName(kLoginBackgroundMember).c_str(), &picture) !=
      LoadOutcome::kLoaded)
    return nullptr;
  return picture;
}

std::unique_ptr<CStandardDialog> CLauncherTranslucentDlg::CreateStandardDialog() {
  auto companion = std::make_unique<CLauncherStandardDlg>(Handle(), skin_, handOver_);
  companion->SetTranslucentWindow(this);
  return companion;
}

bool CLauncherTranslucentDlg::PreTranslateMessage(MSG* message) {
  if (message->message == WM_KEYDOWN) {
    switch (BackgroundKeyFilter(static_cast<unsigned>(message->wParam), IsKeyDown(VK_CONTROL), IsKeyDown(VK_SHIFT))) {
      case KeyFilter::kPassThrough: return false;
      case KeyFilter::kDrop: return true;
      case KeyFilter::kDialogHandling: break;
    }
  }
  return CTranslucentDialog::PreTranslateMessage(message);
}
