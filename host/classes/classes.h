// The root classes of the host framework: TObject, TPersistent, events and streams.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/classes/sysutils.h"

namespace host {

class TClassInfo;
using TClass = const TClassInfo*;
template <class T>
class ClassBuilder;
class TFiler;

class TObject {
 public:
  virtual ~TObject() = default;
  static TClass StaticClass();
  virtual TClass ClassType() const { return StaticClass(); }
  // The class's name as programs see it ("TFont").
  const char* ClassName() const;
  TClass ClassParent() const;
  bool InheritsFrom(TClass ancestor) const;
  static void PublishProperties(ClassBuilder<TObject>&) {}
  // Run by host::New after the constructor (and any stored form) is done, and by Free before
  // the destructor: the places where every override is in force.
  virtual void AfterConstruction() {}
  virtual void BeforeDestruction() {}
};

// Gives a class its run-time class information; put it first in the class body. The source
// file defines it with HOST_DEFINE_CLASS or HOST_PUBLISHED (host/classes/publish.h).
#define HOST_CLASS(Name)                                                   \
 public:                                                                   \
  static ::host::TClass StaticClass();                                     \
  ::host::TClass ClassType() const override { return StaticClass(); }      \
  static void PublishProperties(::host::ClassBuilder<Name>& c);

class TPersistent : public TObject {
  HOST_CLASS(TPersistent)
  // Copies the state of source; raises EConvertError when neither side knows the other.
  virtual void Assign(const TPersistent* source);
  // Declares stored data that no published property describes (legacy values read and
  // dropped, raw binary data); the form reader and writer call it.
  virtual void DefineProperties(TFiler& filer);

 protected:
  // The reverse of Assign, tried when the destination does not know the source.
  virtual void AssignTo(TPersistent* dest) const;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

enum TSeekOrigin : uint8_t { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
 public:
  HOST_CLASS(TStream)
  // Read and Write move up to count bytes and return how many moved.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t pos) { Seek(pos, soBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t size);
  // Exactly count bytes or EReadError / EWriteError.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  // Copies count bytes from source (all of it from its start when count is 0).
  int64_t CopyFrom(TStream& source, int64_t count);
  // The rest of the stream from the current position.
  std::vector<uint8_t> ReadAll();
};

class TMemoryStream : public TStream {
 public:
  HOST_CLASS(TMemoryStream)
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }
  void SetSize(int64_t size) override;
  void Clear();
  const uint8_t* Memory() const { return data_.data(); }
  const std::vector<uint8_t>& Bytes() const { return data_; }
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;

 private:
  std::vector<uint8_t> data_;
  int64_t pos_ = 0;
};

// File modes of TFileStream.
inline constexpr uint16_t fmOpenRead = 0x0000;
inline constexpr uint16_t fmOpenWrite = 0x0001;
inline constexpr uint16_t fmOpenReadWrite = 0x0002;
inline constexpr uint16_t fmCreate = 0xFFFF;

class TFileStream : public TStream {
 public:
  HOST_CLASS(TFileStream)
  // Raises EFOpenError (or EFCreateError with fmCreate) naming the file and the reason.
  TFileStream(const std::string& path, uint16_t mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  const std::string& FileName() const { return path_; }

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace host
