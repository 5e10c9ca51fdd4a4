// Recording device contexts and the metafiles they close into:
// CreateEnhMetaFileA, CloseEnhMetaFile and DeleteEnhMetaFile.
#include <atomic>

#include "platform/no_throw.h"
#include "platform/recording.h"

namespace kestra::platform {
namespace {

// Recordings not yet closed, in any thread: while there are none, the
// drawing entry points pay one load to learn that they paint.
std::atomic<std::size_t> open_recordings{0};

}  // namespace

Recording::Recording() { open_recordings.fetch_add(1, std::memory_order_relaxed); }

Recording::~Recording() { close(); }

void Recording::close() {
  if (!open_) return;
  open_ = false;
  open_recordings.fetch_sub(1, std::memory_order_relaxed);
}

std::shared_ptr<DeviceContext> recording_dc(HDC dc) {
  if (open_recordings.load(std::memory_order_relaxed) == 0) return nullptr;
  auto context = dc_of(dc);
  return context && context->recording ? context : nullptr;
}

std::shared_ptr<const Recording> recording_of(HENHMETAFILE metafile) {
  auto object = lookup<Metafile>(metafile);
  return object ? object->recording : nullptr;
}

}  // namespace kestra::platform

using namespace kestra::platform;

// Only memory recordings: a file name is refused. The bounds (in 0.01 mm)
// and the description are not kept; the caller knows its picture's size.
HDC CreateEnhMetaFileA(HDC reference, LPCSTR file, const RECT*, LPCSTR) {
  return or_failure<HDC>(nullptr, [&]() -> HDC {
    if (file) return nullptr;
    auto recording = std::make_shared<Recording>();
    // A device context with the defaults of a new one, that holds no bitmap
    // and takes none: drawing on it records.
    HDC dc = CreateCompatibleDC(reference);
    auto context = dc_of(dc);
    if (!context) return nullptr;
    context->is_memory = false;
    context->recording = std::move(recording);
    return dc;
  });
}

HENHMETAFILE CloseEnhMetaFile(HDC dc) {
  return or_failure<HENHMETAFILE>(nullptr, [&]() -> HENHMETAFILE {
    auto context = dc_of(dc);
    if (!context || !context->recording) return nullptr;
    auto metafile = std::make_shared<Metafile>(context->recording);
    void* handle = ObjectTable::instance().add(std::move(metafile));
    if (!handle) return nullptr;
    context->recording->close();
    context->recording.reset();
    ObjectTable::instance().remove(dc);
    return static_cast<HENHMETAFILE>(handle);
  });
}

BOOL DeleteEnhMetaFile(HENHMETAFILE metafile) {
  if (!lookup<Metafile>(metafile)) return FALSE;
  return ObjectTable::instance().remove(metafile) ? TRUE : FALSE;
}
