#include "MappedFile.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstdint>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The live mappings the SIGBUS handler may repair. A slot is claimed by storing its size last
// and freed by clearing its size first, so the handler never sees a half-written slot.
constexpr int SlotCount = 32;
struct GuardSlot {
    std::atomic<std::uintptr_t> Base{0};
    std::atomic<std::size_t> Size{0};
};
std::array<GuardSlot, SlotCount> Slots;
std::mutex SlotLock; // between threads claiming and freeing; the handler takes no lock
struct sigaction PreviousBusAction {};

void OnBusError(int signal, siginfo_t* info, void* context) {
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (GuardSlot& slot : Slots) {
        const std::size_t size = slot.Size.load();
        const std::uintptr_t base = slot.Base.load();
        if (size == 0 || address < base || address - base >= size)
            continue;
        // Zero pages in place of the file's: the faulting read is retried and now succeeds.
        ::mmap(reinterpret_cast<void*>(base), size, PROT_READ,
               MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
        return;
    }
    // Not ours: whoever handled SIGBUS before does, or the default action ends the process.
    if (PreviousBusAction.sa_flags & SA_SIGINFO) {
        PreviousBusAction.sa_sigaction(signal, info, context);
        return;
    }
    if (PreviousBusAction.sa_handler != SIG_DFL && PreviousBusAction.sa_handler != SIG_IGN) {
        PreviousBusAction.sa_handler(signal);
        return;
    }
    ::signal(SIGBUS, SIG_DFL);
    ::raise(SIGBUS);
}

void InstallHandlerOnce() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        struct sigaction action {};
        action.sa_sigaction = OnBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &PreviousBusAction);
    });
}

int ClaimSlot(const char* base, std::size_t size) {
    std::lock_guard lock(SlotLock);
    for (int i = 0; i < SlotCount; ++i) {
        if (Slots[i].Size.load() != 0)
            continue;
        Slots[i].Base.store(reinterpret_cast<std::uintptr_t>(base));
        Slots[i].Size.store(size);
        return i;
    }
    return -1;
}

void FreeSlot(int slot) {
    std::lock_guard lock(SlotLock);
    Slots[slot].Size.store(0);
    Slots[slot].Base.store(0);
}

// Maps the file one page past a 2 MB boundary. The file cache may hold a freshly written file
// in folios of 2 MB, and where the mapping lines up with them the kernel maps a whole folio at
// the first touch: a few bytes read at each chunk's cut would bring the whole file into the
// process. Off the boundary it maps at most a small window around each touched page.
void* MapOffHugeBoundary(int fd, std::size_t size) {
    constexpr std::uintptr_t Huge = std::uintptr_t{2} << 20;
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t span = size + 2 * Huge;
    void* reserved = ::mmap(nullptr, span, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (reserved == MAP_FAILED)
        return MAP_FAILED;
    const auto start = reinterpret_cast<std::uintptr_t>(reserved);
    const std::uintptr_t at = ((start + Huge - 1) & ~(Huge - 1)) + page;
    void* base = ::mmap(reinterpret_cast<void*>(at), size, PROT_READ, MAP_PRIVATE | MAP_FIXED, fd, 0);
    if (base == MAP_FAILED) {
        ::munmap(reserved, span);
        return MAP_FAILED;
    }
    // Give back the reserved space on either side of the file.
    const std::uintptr_t end = (at + size + page - 1) & ~(page - 1);
    ::munmap(reserved, at - start);
    ::munmap(reinterpret_cast<void*>(end), start + span - end);
    return base;
}

} // namespace

std::shared_ptr<const MappedFile> MappedFile::Map(int fd, std::size_t size) {
    if (size == 0)
        return nullptr;
    InstallHandlerOnce();
    void* base = MapOffHugeBoundary(fd, size);
    if (base == MAP_FAILED)
        return nullptr;
    const int slot = ClaimSlot(static_cast<const char*>(base), size);
    if (slot < 0) {
        ::munmap(base, size);
        return nullptr;
    }
    auto file = std::shared_ptr<MappedFile>(
        new MappedFile(static_cast<const char*>(base), size, slot));
    struct stat st {};
    if (::fstat(fd, &st) == 0) {
        file->Device = st.st_dev;
        file->Inode = st.st_ino;
    }
    return file;
}

MappedFile::~MappedFile() {
    FreeSlot(Slot);
    ::munmap(const_cast<char*>(Base), Size);
}

void MappedFile::LetGo(std::string_view part) const {
    static const auto pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    auto from = reinterpret_cast<std::uintptr_t>(part.data());
    const std::uintptr_t to = from + part.size();
    from &= ~(pageSize - 1);
    // A page shared with the next part goes too: it is only read, and comes back when touched.
    ::madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
}

bool MappedFile::IsFileAt(const std::string& path) const {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && st.st_dev == Device && st.st_ino == Inode;
}
