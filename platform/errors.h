// Exceptions raised by the form library. A handler that throws is stopped where it
// is; the message loop catches the exception and shows it in the error dialog.
#pragma once

#include <stdexcept>
#include <string>

namespace kv {

// Base of every error the platform raises.
class EPlatformError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A picture that cannot be read: missing, unreadable, malformed, too large.
class EInvalidGraphic : public EPlatformError {
 public:
  using EPlatformError::EPlatformError;
};

// A sound that cannot be opened or played.
class EMCIDeviceError : public EPlatformError {
 public:
  using EPlatformError::EPlatformError;
};

}  // namespace kv
