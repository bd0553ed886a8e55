// Exceptions of the host framework and small runtime helpers they need.
#pragma once

#include <stdexcept>
#include <string>

namespace host {

// Base of every exception the framework and the library raise; Message() is the text the
// user sees.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

#define HOST_EXCEPTION(name, base)                               \
  class name : public base {                                     \
   public:                                                       \
    explicit name(const std::string& message) : base(message) {} \
  }

HOST_EXCEPTION(EConvertError, Exception);
HOST_EXCEPTION(EInvalidOperation, Exception);
HOST_EXCEPTION(EOutOfResources, Exception);
HOST_EXCEPTION(EInvalidCast, Exception);
HOST_EXCEPTION(EListError, Exception);
HOST_EXCEPTION(EStringListError, EListError);
HOST_EXCEPTION(EStreamError, Exception);
HOST_EXCEPTION(EReadError, EStreamError);
HOST_EXCEPTION(EWriteError, EStreamError);
HOST_EXCEPTION(EFOpenError, EStreamError);
HOST_EXCEPTION(EFCreateError, EStreamError);
HOST_EXCEPTION(EComponentError, Exception);
HOST_EXCEPTION(EClassNotFound, Exception);
HOST_EXCEPTION(EPropertyError, Exception);
HOST_EXCEPTION(ERegistryException, Exception);
HOST_EXCEPTION(EIniFileException, Exception);
HOST_EXCEPTION(EInvalidGraphic, Exception);
HOST_EXCEPTION(EInvalidGraphicOperation, Exception);

#undef HOST_EXCEPTION

}  // namespace host
