#include <korinui/MControlFont.h>
#include <korinui/Manager.h>
#include <korinui/PaintManager.h>

MControlFont::MControlFont(MObject* parent, UINT id, CRect rect, BOOL visible, BOOL enabled)
    : MControl(parent, id, rect, visible, enabled),
      fontName_(Manager::GetFontName()),
      fontSize_(Manager::GetFontWidth()) {}

BOOL MControlFont::SetImage(const wchar_t* path, int count) {
  if (!path || !manager_) return 0;
  ImgResInfo* info = manager_->AddImgResInfo(path, count);
  if (!info) return 0;
  image_ = info->image;
  frameWidth_ = info->frameWidth;
  frameHeight_ = info->height;
  frameCount_ = info->frames;
  imagePath_ = path;
  UpdateControl(1);
  return 1;
}

void MControlFont::SetTitle(const wchar_t* title) {
  SetControlTitle(title);
  UpdateControl(1);
}

void MControlFont::SetAlignment(UINT h) {
  if (h == hAlign_) return;
  hAlign_ = h;
  UpdateControl(1);
}
void MControlFont::SetVAlignment(UINT v) {
  if (v == vAlign_) return;
  vAlign_ = v;
  UpdateControl(1);
}
void MControlFont::SetAlignment(UINT h, UINT v) {
  if (h == hAlign_ && v == vAlign_) return;
  hAlign_ = h;
  vAlign_ = v;
  UpdateControl(1);
}

void MControlFont::SetFont(const wchar_t* name, int size, int style) {
  if (name) fontName_ = name;
  fontSize_ = size;
  fontStyle_ = style;
}

void MControlFont::SetImageCount(int count) {
  if (count <= 0) return;
  frameCount_ = count;
  if (image_) frameWidth_ = image_->Width() / count;
}

CString MControlFont::GetFontFamily(const wchar_t* name) {
  const FontFamily* f = manager_ ? manager_->FindTempFont(name) : nullptr;
  return f ? f->name : CString();
}

TextFormat MControlFont::GetGDIFont() {
  TextFormat f;
  f.family = GetFontFamily(fontName_.c_str());
  f.sizePx = fontSize_;
  f.style = fontStyle_;
  f.hAlign = hAlign_;
  f.vAlign = vAlign_;
  return f;
}

void MControlFont::DrawImageFrameIndex(HDC& hdc, int frame, CRect dst) {
  if (!image_ || frameWidth_ <= 0 || !hdc) return;
  if (frame < 0 || frame >= frameCount_) frame = 0;
  if (dst.IsRectEmpty()) dst = CRect(rect_.left, rect_.top, rect_.left + frameWidth_, rect_.top + frameHeight_);
  hdc->DrawImage(*image_, dst, CRect(frame * frameWidth_, 0, (frame + 1) * frameWidth_, frameHeight_));
}

void MControlFont::DrawTitle(HDC& hdc, CRect rect, ARGB color) {
  CString t = GetControlTitle();
  if (!hdc || t.empty()) return;
  hdc->DrawText(t, rect, GetGDIFont(), color);
}
