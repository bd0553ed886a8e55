// TPicture: graphics made by file extension or on demand, copies, files, change events.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/graphics/graphics.h"
#include "platform/gdi/ico.h"
#include "platform/win32.h"
#include "support/testdata.h"

using namespace host;

namespace {

std::string Temp(const std::string& name) { return (testsupport::OutputDir() / ("picture_test_" + name)).string(); }

void WriteIcon(const std::string& path) {
  gdi::IconImage img;
  img.width = 2;
  img.height = 3;
  img.pixels.assign(6, 0xFF112233);
  img.mask.assign(6, 0);
  const std::vector<uint8_t> bytes = gdi::EncodeIco(img);
  TFileStream f(path, fmCreate);
  f.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

}  // namespace

TEST(Picture, LoadsByExtension) {
  TBitmap bmp;
  bmp.SetSize(5, 4);
  bmp.SaveToFile(Temp("a.bmp"));
  WriteIcon(Temp("b.ICO"));
  TPicture p;
  int changes = 0;
  p.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &p);
    ++changes;
  };
  EXPECT_EQ(p.Graphic(), nullptr);
  EXPECT_EQ(p.Width(), 0);
  p.LoadFromFile(Temp("a.bmp"));
  EXPECT_NE(dynamic_cast<TBitmap*>(p.Graphic()), nullptr);
  EXPECT_EQ(p.Width(), 5);
  EXPECT_EQ(p.Height(), 4);
  p.LoadFromFile(Temp("b.ICO"));
  EXPECT_NE(dynamic_cast<TIcon*>(p.Graphic()), nullptr);
  EXPECT_EQ(p.Width(), 2);
  EXPECT_EQ(p.Height(), 3);
  EXPECT_EQ(changes, 2);

  // Failures leave the picture as it was.
  try {
    p.LoadFromFile(Temp("c.xyz"));
    ADD_FAILURE();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "Unknown picture file extension (.xyz)");
  }
  EXPECT_THROW(p.LoadFromFile(Temp("noextension")), EInvalidGraphic);
  std::filesystem::copy_file(Temp("b.ICO"), Temp("d.bmp"), std::filesystem::copy_options::overwrite_existing);
  EXPECT_THROW(p.LoadFromFile(Temp("d.bmp")), EInvalidGraphic);  // an icon is not a BMP file
  EXPECT_NE(dynamic_cast<TIcon*>(p.Graphic()), nullptr);
  EXPECT_EQ(changes, 2);

  p.SaveToFile(Temp("e.ico"));
  TPicture q;
  q.LoadFromFile(Temp("e.ico"));
  EXPECT_EQ(q.Width(), 2);
  TPicture empty;
  empty.SaveToFile(Temp("f.bmp"));
  EXPECT_FALSE(std::filesystem::exists(Temp("f.bmp")));
}

TEST(Picture, BitmapAndIconAreMadeOnDemand) {
  TPicture p;
  int changes = 0;
  p.OnChange = [&](TObject*) { ++changes; };
  TBitmap* bmp = p.Bitmap();
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(p.Bitmap(), bmp);
  EXPECT_EQ(p.Graphic(), bmp);
  EXPECT_EQ(changes, 1);
  bmp->SetSize(3, 3);  // the graphic's changes are the picture's
  bmp->Canvas()->SetPixels(0, 0, clRed);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(p.Width(), 3);
  TIcon* icon = p.Icon();  // replaces the bitmap
  EXPECT_TRUE(icon->Empty());
  EXPECT_EQ(p.Graphic(), icon);
  EXPECT_EQ(p.Width(), 0);
  EXPECT_EQ(changes, 4);
}

TEST(Picture, AssignCopiesTheGraphic) {
  TPicture a;
  a.Bitmap()->SetSize(2, 2);
  a.Bitmap()->Canvas()->SetPixels(1, 1, clBlue);
  TPicture b;
  b.Assign(&a);
  ASSERT_NE(dynamic_cast<TBitmap*>(b.Graphic()), nullptr);
  EXPECT_NE(b.Graphic(), a.Graphic());
  EXPECT_EQ(b.Bitmap()->Canvas()->Pixels(1, 1), clBlue);
  a.Bitmap()->Canvas()->SetPixels(1, 1, clRed);
  EXPECT_EQ(b.Bitmap()->Canvas()->Pixels(1, 1), clBlue);

  // A graphic is copied in; a picture is copied into a graphic.
  TBitmap loose;
  loose.SetSize(7, 1);
  b.Assign(&loose);
  EXPECT_EQ(b.Width(), 7);
  EXPECT_NE(b.Graphic(), &loose);
  b.SetGraphic(b.Graphic());  // itself: nothing happens
  EXPECT_EQ(b.Width(), 7);
  TBitmap out;
  out.Assign(&a);
  EXPECT_EQ(out.Width(), 2);
  EXPECT_EQ(out.Canvas()->Pixels(1, 1), clRed);
  b.Assign(nullptr);
  EXPECT_EQ(b.Graphic(), nullptr);
  out.Assign(&b);  // an empty picture empties the graphic
  EXPECT_TRUE(out.Empty());
  TFont font;
  EXPECT_THROW(b.Assign(&font), EConvertError);
}

#include "host/classes/filer.h"
#include "host/classes/publish.h"
#include "host/classes/resources.h"
#include "host/graphics/canvas.h"

namespace host {
namespace {

class TPictureHolder : public TComponent {
  HOST_CLASS(TPictureHolder)
  explicit TPictureHolder(TComponent* owner) : TComponent(owner) {}
  TPicture* Picture() const { return picture_.get(); }
  TBitmap* Glyph() const { return glyph_.get(); }

 private:
  std::unique_ptr<TPicture> picture_ = std::make_unique<TPicture>();
  std::unique_ptr<TBitmap> glyph_ = std::make_unique<TBitmap>();
};
HOST_PUBLISHED(TPictureHolder, TComponent) {
  HOST_OBJECT_PROP(Picture);
  HOST_OBJECT_PROP(Glyph);
}

TEST(PictureData, StoredFormsCarryPicturesAsFileReferencesOrBinaryData) {
  TBitmap source;
  source.SetWidth(3);
  source.SetHeight(2);
  source.Canvas()->SetPixels(0, 0, clRed);
  source.Canvas()->SetPixels(2, 1, clBlue);
  TMemoryStream bytes;
  source.SaveToStream(bytes);
  static std::vector<uint8_t> image;
  image = bytes.Bytes();
  static const ResourceFile files[] = {{"pictures/dot.bmp", image}};
  RegisterResources(files);

  TPictureHolder holder(nullptr);
  ReadComponentFromText(&holder,
                        "object H: TPictureHolder\n  Picture.Data = file 'pictures/dot.bmp'\n"
                        "  Glyph.Data = file 'pictures/dot.bmp'\nend\n",
                        "h.form");
  ASSERT_NE(holder.Picture()->Graphic(), nullptr);
  EXPECT_EQ(holder.Picture()->Width(), 3);
  EXPECT_EQ(holder.Picture()->Bitmap()->Canvas()->Pixels(2, 1), clBlue);
  EXPECT_EQ(holder.Glyph()->Canvas()->Pixels(0, 0), clRed);
  // Written back as binary data, read back the same.
  const std::string text = WriteComponentToText(&holder);
  EXPECT_NE(text.find("Picture.Data = {"), std::string::npos) << text;
  TPictureHolder again(nullptr);
  ReadComponentFromText(&again, text, "again.form");
  EXPECT_EQ(again.Picture()->Bitmap()->Canvas()->Pixels(2, 1), clBlue);
  EXPECT_EQ(again.Glyph()->Height(), 2);
  // Bytes that are no picture are refused with the line.
  TPictureHolder bad(nullptr);
  try {
    ReadComponentFromText(&bad, "object H: TPictureHolder\n  Picture.Data = {00112233}\nend\n", "bad.form");
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "bad.form(2): Error reading H.Picture.Data: Unknown picture data: neither a bitmap nor an icon");
  }
  TPictureHolder empty(nullptr);
  EXPECT_EQ(WriteComponentToText(&empty), "object TPictureHolder\nend\n");
}

}  // namespace
}  // namespace host
