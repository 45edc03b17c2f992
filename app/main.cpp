// Korvalen: survive the star field as long as you can.
#include <exception>
#include <memory>

#include "app/project1.h"
#include "platform/sdl/sdl_backend.h"

int main() {
  std::unique_ptr<kv::SdlBackend> backend;
  try {
    backend = std::make_unique<kv::SdlBackend>();
  } catch (const std::exception& e) {
    kv::report_fatal_without_backend(e.what());
    return 1;
  }
  {
    Project1 project(*backend);
    try {
      project.Create();
    } catch (const std::exception& e) {
      backend->show_fatal(e.what());
      return 1;
    }
    project.Run();
  }
  return 0;
}
