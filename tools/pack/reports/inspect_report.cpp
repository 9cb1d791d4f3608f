#include "reports/inspect_report.h"

#include <iomanip>
#include <nlohmann/json.hpp>
#include <vector>

#include "formats/gbk_text.h"
#include "formats/printable.h"
#include "formats/text_encoding.h"

using nlohmann::ordered_json;

namespace {

// Zip tools on Chinese Windows write member names in GBK.
std::string ShownName(const std::string& name) { return IsUtf8(name) ? name : GbkToUtf8(name); }

// A configuration saved as UTF-8 is shown as written: converting it from GBK
// would garble every text, and the operator could not tell what is meant.
std::string ShownText(std::string_view text, bool utf8) { return utf8 ? std::string(text) : GbkToUtf8(text); }

template <class R, class F>
void WriteList(ModelSink& sink, std::string_view name, const char* section, const std::vector<R>& records, F fields) {
  sink.BeginList(name);
  for (std::size_t i = 0; i < records.size(); ++i) {
    sink.BeginRecord(section + std::to_string(i + 1));
    fields(records[i]);
    sink.EndRecord();
  }
  sink.EndList();
}

class TextSink : public ModelSink {
 public:
  TextSink(std::ostream& out, bool utf8) : out_(out), utf8_(utf8) {}
  void BeginList(std::string_view) override {}
  void EndList() override {}
  void BeginRecord(std::string_view section) override { out_ << "[" << section << "]\n"; }
  void EndRecord() override {}
  void Number(std::string_view key, std::int64_t value) override { out_ << key << " = " << value << "\n"; }
  void ColourValue(std::string_view key, Colour value) override {
    out_ << key << " = " << value << " (red " << (value & 0xFF) << ", green " << (value >> 8 & 0xFF) << ", blue "
         << (value >> 16 & 0xFF) << ")\n";
  }
  void Text(std::string_view key, std::string_view gbk) override {
    out_ << key << " = " << Escaped(ShownText(gbk, utf8_)) << "\n";
  }
  void Numbers(std::string_view key, std::span<const int> values) override {
    out_ << key << " =";
    for (const int v : values) out_ << " " << v;
    out_ << "\n";
  }

 private:
  std::ostream& out_;
  bool utf8_;
};

// Builds the model as JSON: "global" an object, each list an array of
// records.
class JsonSink : public ModelSink {
 public:
  JsonSink(ordered_json& into, bool utf8) : utf8_(utf8) { open_.push_back(&into); }
  void BeginList(std::string_view name) override { Open((*open_.back())[std::string(name)] = ordered_json::array()); }
  void EndList() override { open_.pop_back(); }
  void BeginRecord(std::string_view section) override {
    ordered_json& parent = *open_.back();
    if (parent.is_array()) {
      parent.push_back(ordered_json::object());
      Open(parent.back());
    } else {
      Open(parent[std::string(section)] = ordered_json::object());
    }
  }
  void EndRecord() override { open_.pop_back(); }
  void Number(std::string_view key, std::int64_t value) override { Field(key) = value; }
  void ColourValue(std::string_view key, Colour value) override { Field(key) = value; }
  void Text(std::string_view key, std::string_view gbk) override { Field(key) = ShownText(gbk, utf8_); }
  void Numbers(std::string_view key, std::span<const int> values) override {
    Field(key) = std::vector<int>(values.begin(), values.end());
  }

 private:
  void Open(ordered_json& value) { open_.push_back(&value); }
  ordered_json& Field(std::string_view key) { return (*open_.back())[std::string(key)]; }

  std::vector<ordered_json*> open_;  // the innermost last
  bool utf8_;
};

std::string ShownSize(const std::optional<PictureSize>& size) {
  return size ? std::to_string(size->width) + " × " + std::to_string(size->height) : "of a size that cannot be read";
}

// Each picture with its @2x form, and whether the launcher can show that.
void WritePictureForms(std::ostream& out, const std::vector<PictureForms>& pictures, const SkinConfig* config) {
  if (pictures.empty()) return;
  out << "pictures and their @2x forms (twice the size, shown in their place from 150 % on with dpiScaling=1):\n";
  bool anyDouble = false;
  for (const PictureForms& picture : pictures) {
    out << "  " << Escaped(ShownName(picture.name)) << " " << (picture.present ? ShownSize(picture.size) : "missing");
    if (const auto& twice = picture.doubleSize) {
      anyDouble = true;
      out << "; @2x: " << Escaped(ShownName(twice->name)) << " " << ShownSize(twice->size);
      if (!picture.present)
        out << ", never shown without its 1x picture";
      else if (!twice->fits)
        out << ", not twice the size: never shown";
    } else {
      out << "; no @2x";
    }
    out << "\n";
  }
  if (anyDouble && config != nullptr && !ScalesWithDisplay(config->model))
    out << "dpiScaling is not 1: the launcher keeps physical pixels and shows none of the @2x pictures\n";
  out << "\n";
}

ordered_json SizeJson(const std::optional<PictureSize>& size) {
  if (!size) return nullptr;
  return {{"width", size->width}, {"height", size->height}};
}

ordered_json PictureFormsJson(const std::vector<PictureForms>& pictures) {
  ordered_json list = ordered_json::array();
  for (const PictureForms& picture : pictures) {
    ordered_json entry = {
        {"name", ShownName(picture.name)}, {"present", picture.present}, {"size", SizeJson(picture.size)}};
    entry["doubleSize"] = nullptr;
    if (const auto& twice = picture.doubleSize)
      entry["doubleSize"] = {{"name", ShownName(twice->name)}, {"size", SizeJson(twice->size)}, {"fits", twice->fits}};
    list.push_back(std::move(entry));
  }
  return list;
}

}  // namespace

void WriteModel(const LauncherConfig& m, ModelSink& sink) {
  sink.BeginRecord("global");
  sink.Text("gameheader", m.gameheader);
  sink.Number("logx", m.logx);
  sink.Number("logy", m.logy);
  sink.Number("titlex", m.titlex);
  sink.Number("titley", m.titley);
  sink.Number("titleWidth", m.titleWidth);
  sink.Number("titleHeight", m.titleHeight);
  sink.Text("title", m.title);
  sink.Text("firstUrl", m.firstUrl);
  sink.Text("notityTitle", m.notityTitle);
  sink.Text("notifyCloseTitle", m.notifyCloseTitle);
  sink.Text("clearFlashTitle", m.clearFlashTitle);
  sink.Text("clearFlashMsg", m.clearFlashMsg);
  sink.Text("versionUrl", m.versionUrl);
  sink.Text("exeUrl", m.exeUrl);
  sink.Number("port", m.port);
  sink.Text("server", m.server);
  sink.Text("version", m.version);
  sink.Text("closeMsg", m.closeMsg);
  sink.ColourValue("titleColor", m.titleColor);
  sink.ColourValue("loginCenterColor", m.loginCenterColor);
  sink.Number("minGameWidth", m.minGameWidth);
  sink.Number("minGameHeight", m.minGameHeight);
  sink.Text("updateKey", m.updateKey);
  sink.Number("dpiScaling", m.dpiScaling);
  sink.Number("browserMode", m.browserMode);
  sink.Text("textEncoding", m.textEncoding);
  sink.Numbers("edgeImages", m.edgeImages);
  sink.EndRecord();
  WriteList(sink, "links", "link", m.links, [&](const LinkSpec& r) {
    sink.Text("url", r.url);
    sink.Number("x", r.x);
    sink.Number("y", r.y);
    sink.Number("width", r.width);
    sink.Number("height", r.height);
    sink.Number("type", r.type);
  });
  WriteList(sink, "sprites", "gamePic", m.sprites, [&](const SpriteSpec& r) {
    sink.Number("x", r.x);
    sink.Number("y", r.y);
    sink.Number("width", r.width);
    sink.Number("height", r.height);
    sink.Number("interval", r.interval);
  });
  WriteList(sink, "gameButtons", "gamebutton", m.gameButtons, [&](const GameButtonSpec& r) {
    sink.Number("x", r.x);
    sink.Number("y", r.y);
    sink.Number("type", r.type);
    sink.Number("image", r.image);
    sink.ColourValue("color", r.color);
    sink.Number("shortCut", r.shortCut);
    sink.Text("title", r.title);
    sink.Text("url", r.url);
    sink.Text("tips", r.tips);
  });
  WriteList(sink, "menuItems", "menu", m.menuItems, [&](const MenuItemSpec& r) {
    sink.Text("title", r.title);
    sink.Number("type", r.type);
    sink.Number("shortCut", r.shortCut);
  });
}

SignatureFinding FindSignature(std::string_view program) {
  SignatureFinding found;
  if (const auto image = PeImage::Read(program, &found.unreadable)) found.certificateTable = image->CertificateTable();
  return found;
}

void WriteInspectText(std::ostream& out, const InspectSubject& subject) {
  out << subject.source << ": " << subject.members.size() << " members\n";
  for (const MemberInfo& member : subject.members)
    out << std::setw(10) << member.size << "  " << Escaped(ShownName(member.name))
        << (member.unreadable.empty() ? "" : "  (" + member.unreadable + ": the launcher cannot read it)") << "\n";
  out << "\n";
  WritePictureForms(out, subject.pictures, subject.config);
  if (const auto& signature = subject.signature) {
    if (const auto& table = signature->certificateTable)
      out << "signature: Authenticode, a certificate table of " << table->size << " bytes at offset " << table->offset
          << " (not verified here: osslsigncode verify checks it)\n";
    else if (signature->unreadable.empty())
      out << "signature: none (Windows names no publisher; sign the exe last, after packing)\n";
    else
      out << "signature: unknown, the exe's headers cannot be read: " << signature->unreadable << "\n";
    out << "\n";
  }
  if (subject.branding) WriteBrandingText(out, *subject.branding);
  if (subject.config == nullptr) {
    out << "configuration: config/cg.txt is missing; the launcher stops at start\n";
    return;
  }
  out << (subject.config->accepted ? "configuration as the launcher reads it:\n"
                                   : "configuration rejected: [global] linkCount is missing or below 1, so the "
                                     "launcher ends without a word; it read this much:\n");
  const bool utf8 = LooksLikeUtf8(subject.config->text);
  if (utf8)
    out << "config/cg.txt is UTF-8, so its texts are shown as written; the launcher reads GBK and would show them "
           "garbled: pack with --from-utf8\n";
  else
    out << "texts are GBK: the launcher shows them as these characters on Windows of any language, not only on "
           "a Chinese one\n";
  TextSink sink(out, utf8);
  WriteModel(subject.config->model, sink);
}

void WriteInspectJson(std::ostream& out, const InspectSubject& subject) {
  ordered_json report;
  report["source"] = subject.source;
  report["members"] = ordered_json::array();
  for (const MemberInfo& member : subject.members)
    report["members"].push_back({{"name", ShownName(member.name)}, {"size", member.size}});
  report["pictures"] = PictureFormsJson(subject.pictures);
  if (const auto& signature = subject.signature) {
    ordered_json& shown = report["signature"];
    if (signature->unreadable.empty()) {
      shown = {{"authenticode", signature->certificateTable.has_value()}};
      if (const auto& table = signature->certificateTable) shown["certificateTableBytes"] = table->size;
    }
  }
  if (subject.branding) AddBrandingJson(report, *subject.branding);
  ordered_json& configuration = report["configuration"];
  if (subject.config != nullptr) {
    const bool utf8 = LooksLikeUtf8(subject.config->text);
    configuration = {{"accepted", subject.config->accepted}, {"utf8", utf8}};
    JsonSink sink(configuration, utf8);
    WriteModel(subject.config->model, sink);
  }
  if (subject.update) report["update"] = UpdateTrustJson(*subject.update);
  // Texts of a package may hold bytes that are no UTF-8: replaced, never thrown on.
  out << report.dump(2, ' ', false, ordered_json::error_handler_t::replace) << "\n";
}
