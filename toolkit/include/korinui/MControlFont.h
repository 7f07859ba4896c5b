// A control with a title, font, text colour, alignment and a state image strip.
#pragma once

#include <korinui/MControl.h>
#include <korinui/MImage.h>
#include <korinui/Painter.h>

#include <memory>

class MControlFont : public MControl {
 public:
  MControlFont(MObject* parent, UINT id, CRect rect, BOOL visible = 1, BOOL enabled = 1);

  virtual void SetTextFont(CString name) { fontName_ = std::move(name); }
  virtual void SetTextColor(ARGB color) { textColor_ = color; }
  // Skin image by resource id is not available here; the named form is used.
  virtual BOOL SetImage(UINT resourceId, CString type, int count) { return 0; }
  // Fetches `path` (a name under the skin folder) from the image cache as a strip of
  // `count` frames; keeps the previous image when loading fails.
  virtual BOOL SetImage(const wchar_t* path, int count);
  virtual void SetControlTitle(const wchar_t* title) { title_ = title ? title : L""; }
  virtual CString GetControlTitle() { return title_; }

  void SetTitle(const wchar_t* title);  // stores and repaints
  CString GetTitle() { return GetControlTitle(); }
  void SetAlignment(UINT h);
  void SetVAlignment(UINT v);
  void SetAlignment(UINT h, UINT v);
  UINT GetAlignment() const { return hAlign_; }
  UINT GetVAlignment() const { return vAlign_; }
  void SetFont(const wchar_t* name, int size, int style);
  void SetFontStyle(int style) { fontStyle_ = style; }
  int GetFontStyle() const { return fontStyle_; }
  void SetFontWidth(int size) { fontSize_ = size; }
  int GetFontWidth() const { return fontSize_; }
  CString GetTextFont() const { return fontName_; }
  ARGB GetTextColor() const { return textColor_; }
  void SetTextRenderingHint(int hint) { renderingHint_ = hint; }
  void SetImageCount(int count);
  CSize GetImageSize() const { return {frameWidth_, frameHeight_}; }
  CString GetImagePath() const { return imagePath_; }
  int GetImageCount() const { return frameCount_; }
  const MImage* GetImage() const { return image_.get(); }
  // The family the window draws this control's text with (the global font's).
  CString GetFontFamily(const wchar_t* name);
  // The text format for this control's title in `rect`.
  TextFormat GetGDIFont();
  void ClearGDIFont() {}

 protected:
  // Draws frame `frame` of the state strip into `dst` (the frame's size when empty).
  void DrawImageFrameIndex(HDC& hdc, int frame, CRect dst);
  void DrawTitle(HDC& hdc, CRect rect, ARGB color);

  CString title_;
  CString fontName_;
  CString imagePath_;
  int fontSize_;
  ARGB textColor_ = 0xFFFFFFFF;
  int fontStyle_ = FontStyleRegular;
  UINT hAlign_ = 0;
  UINT vAlign_ = 4;
  int renderingHint_ = 5;
  std::shared_ptr<MImage> image_;
  int frameWidth_ = 0, frameHeight_ = 0;
  int frameCount_ = 4;
};
