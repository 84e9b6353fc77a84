// Clipboard, global memory blocks and per-process memory of the simulated desktop.
#include <algorithm>
#include <cstring>

#include "platform/sim/desktop.h"
#include "platform/sim/state.h"

namespace platform::sim {

namespace {
constexpr uint32_t kAllocationGap = 0x1000;  // unreadable bytes between allocations
}  // namespace

// ---- Global memory ----

HGLOBAL Desktop::GlobalAlloc(UINT, size_t bytes) {
  State& s = *state_;
  HGLOBAL h = s.nextGlobal;
  s.nextGlobal += 4;
  Global g;
  g.size = bytes;
  g.bytes.assign(std::max<size_t>(bytes, 1), 0);
  s.globals[h] = std::move(g);
  return h;
}

void* Desktop::GlobalLock(HGLOBAL mem) {
  auto it = state_->globals.find(mem);
  if (it == state_->globals.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (it->second.size == 0) return nullptr;
  ++it->second.locks;
  return it->second.bytes.data();
}

bool Desktop::GlobalUnlock(HGLOBAL mem) {
  auto it = state_->globals.find(mem);
  if (it == state_->globals.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  if (it->second.locks == 0) {
    SetLastError(ERROR_NOT_LOCKED);
    return false;
  }
  if (--it->second.locks > 0) return true;
  SetLastError(0);
  return false;
}

HGLOBAL Desktop::GlobalFree(HGLOBAL mem) {
  if (state_->globals.erase(mem) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return mem;
  }
  return 0;
}

size_t Desktop::GlobalSize(HGLOBAL mem) {
  auto it = state_->globals.find(mem);
  if (it == state_->globals.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return it->second.size;
}

// ---- Clipboard ----

UINT Desktop::RegisterClipboardFormat(const std::string& name) {
  State& s = *state_;
  if (name.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (name[0] == '#' && name.size() > 1 &&
      std::all_of(name.begin() + 1, name.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
      name.size() <= 6) {
    return static_cast<UINT>(std::stoul(name.substr(1)));
  }
  auto key = AnsiLower(name);
  auto it = s.formats.find(key);
  if (it != s.formats.end()) return it->second;
  if (s.nextFormat > 0xFFFF) return 0;
  UINT id = s.nextFormat++;
  s.formats[key] = id;
  return id;
}

bool Desktop::OpenClipboard(HWND owner) {
  State& s = *state_;
  if (owner != 0 && !Need(owner)) return false;
  if (s.clipOpen) {
    if (s.clipOpenProcess == s.current && s.clipOpenWindow == owner) return true;
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  s.clipOpen = true;
  s.clipOpenProcess = s.current;
  s.clipOpenWindow = owner;
  return true;
}

namespace {
void FreeEntry(std::map<HGLOBAL, Global>& globals, const ClipEntry& e) {
  globals.erase(e.data);
  for (auto& [p, copy] : e.copies) globals.erase(copy);
}
}  // namespace

bool Desktop::EmptyClipboard() {
  State& s = *state_;
  if (!s.clipOpen || s.clipOpenProcess != s.current) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return false;
  }
  for (auto& [format, entry] : s.clipboard) FreeEntry(s.globals, entry);
  s.clipboard.clear();
  s.clipOwner = s.clipOpenWindow;
  return true;
}

HGLOBAL Desktop::SetClipboardData(UINT format, HGLOBAL data) {
  State& s = *state_;
  if (!s.clipOpen || s.clipOpenProcess != s.current || format == 0) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return 0;
  }
  auto g = s.globals.find(data);
  if (data != 0 && (g == s.globals.end() || g->second.size == 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto old = s.clipboard.find(format);
  if (old != s.clipboard.end()) {
    ClipEntry e = old->second;
    s.clipboard.erase(old);
    if (e.data == data) e.data = 0;
    FreeEntry(s.globals, e);
  }
  ClipEntry e;
  e.data = data;
  e.process = s.current;
  s.clipboard[format] = e;
  return data;
}

HGLOBAL Desktop::GetClipboardData(UINT format) {
  State& s = *state_;
  if (!s.clipOpen || s.clipOpenProcess != s.current) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return 0;
  }
  auto it = s.clipboard.find(format);
  if (it == s.clipboard.end() || it->second.data == 0) return 0;
  ClipEntry& e = it->second;
  if (e.process == s.current) return e.data;
  auto copy = e.copies.find(s.current);
  if (copy != e.copies.end() && s.globals.count(copy->second)) return copy->second;
  auto src = s.globals.find(e.data);
  if (src == s.globals.end()) return 0;
  Global dup = src->second;
  dup.locks = 0;
  HGLOBAL h = s.nextGlobal;
  s.nextGlobal += 4;
  s.globals[h] = std::move(dup);
  e.copies[s.current] = h;
  return h;
}

bool Desktop::CloseClipboard() {
  State& s = *state_;
  if (!s.clipOpen || s.clipOpenProcess != s.current) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return false;
  }
  s.clipOpen = false;
  s.clipOpenWindow = 0;
  return true;
}

// ---- Process memory ----

uint32_t Desktop::AllocProcessMemory(size_t bytes) {
  State& s = *state_;
  auto it = s.processes.find(s.current);
  if (it == s.processes.end() || !it->second.alive) return 0;
  Process& p = it->second;
  size_t size = std::max<size_t>(bytes, 1);
  if (size > 0x00800000) return 0;
  uint32_t address = p.nextAddress;
  p.nextAddress += static_cast<uint32_t>((size + 15) / 16 * 16) + kAllocationGap;
  p.memory[address].assign(size, 0);
  return address;
}

bool Desktop::WriteOwnProcessMemory(uint32_t address, const void* data, size_t size) {
  State& s = *state_;
  auto it = s.processes.find(s.current);
  if (it == s.processes.end() || !it->second.alive) return false;
  auto& memory = it->second.memory;
  auto block = memory.upper_bound(address);
  if (block == memory.begin()) return false;
  --block;
  uint64_t offset = address - block->first;
  if (offset + size > block->second.size()) return false;
  if (size) std::memcpy(block->second.data() + offset, data, size);
  return true;
}

bool Desktop::ReadProcess(DWORD process, uint32_t address, void* buffer, size_t size) const {
  auto it = state_->processes.find(process);
  if (it == state_->processes.end() || !it->second.alive) return false;
  const auto& memory = it->second.memory;
  auto block = memory.upper_bound(address);
  if (block == memory.begin()) return false;
  --block;
  uint64_t offset = address - block->first;
  if (offset + size > block->second.size()) return false;
  std::memcpy(buffer, block->second.data() + offset, size);
  return true;
}

HANDLE Desktop::OpenProcess(DWORD access, bool, DWORD processId) {
  State& s = *state_;
  if (!ProcessAlive(processId)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  HANDLE h = s.NewHandle();
  s.processHandles[h] = ProcessHandle{processId, access};
  return h;
}

bool Desktop::ReadProcessMemory(HANDLE process, uint32_t address, void* buffer, size_t size,
                                size_t* bytesRead) {
  State& s = *state_;
  if (bytesRead) *bytesRead = 0;
  auto it = s.processHandles.find(process);
  if (it == s.processHandles.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  if (!(it->second.access & PROCESS_VM_READ)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  if (size == 0) return true;
  if (buffer == nullptr || !ReadProcess(it->second.process, address, buffer, size)) {
    SetLastError(ERROR_PARTIAL_COPY);
    return false;
  }
  if (bytesRead) *bytesRead = size;
  return true;
}

bool Desktop::CloseHandle(HANDLE handle) {
  if (state_->processHandles.erase(handle) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  return true;
}

}  // namespace platform::sim
