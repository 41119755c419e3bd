#include <gtest/gtest.h>

#include "fw/UniqueHandle.h"
#include "support/TestSupport.h"

namespace {
bool IsOpenHandle(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}
}  // namespace

TEST(UniqueHandle, EachKindStartsWithItsOwnInvalidValue) {
    EXPECT_EQ(INVALID_HANDLE_VALUE, UniqueFile().Get());
    EXPECT_EQ(INVALID_HANDLE_VALUE, UniqueFind().Get());
    EXPECT_EQ(nullptr, UniqueKernelHandle().Get());
    EXPECT_EQ(nullptr, UniqueRegKey().Get());
    EXPECT_EQ(-1, UniqueCrtFile().Get());
    EXPECT_FALSE(UniqueFile().IsValid());
}

TEST(UniqueHandle, ClosesAtScopeEnd) {
    HANDLE raw;
    {
        UniqueKernelHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        raw = event.Get();
        ASSERT_TRUE(event.IsValid());
        EXPECT_TRUE(IsOpenHandle(raw));
    }
    EXPECT_FALSE(IsOpenHandle(raw));
}

TEST(UniqueHandle, MoveTransfersOwnershipOnce) {
    UniqueKernelHandle first(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    HANDLE raw = first.Get();
    UniqueKernelHandle second(static_cast<UniqueKernelHandle&&>(first));
    EXPECT_FALSE(first.IsValid());
    EXPECT_EQ(raw, second.Get());
    UniqueKernelHandle third;
    third = static_cast<UniqueKernelHandle&&>(second);
    EXPECT_TRUE(IsOpenHandle(raw));
    third.Reset();
    EXPECT_FALSE(IsOpenHandle(raw));
}

TEST(UniqueHandle, DetachLeavesTheHandleOpen) {
    UniqueKernelHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    HANDLE raw = event.Detach();
    EXPECT_FALSE(event.IsValid());
    EXPECT_TRUE(IsOpenHandle(raw));
    CloseHandle(raw);
}

TEST(UniqueHandle, AFileCanBeDeletedOnceItsWrapperIsGone) {
    wiztest::ScratchDir dir;
    std::string path = dir / "locked.bin";
    {
        UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file.IsValid());
        EXPECT_EQ(INVALID_HANDLE_VALUE,
                  CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    }
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

namespace {
// Stands for a COM object: counts the references given back.
struct CountedObject {
    int releases = 0;
    unsigned long Release() { return static_cast<unsigned long>(++releases); }
};
}  // namespace

TEST(UniqueComPtr, GivesItsReferenceBackOnceWhenReplacedOrGone) {
    CountedObject first, second;
    {
        UniqueHandle<ComTraits<CountedObject>> pointer(&first);
        *pointer.Receive() = &second;  // an out parameter that overwrites the pointer
        EXPECT_EQ(1, first.releases) << "the old reference goes back before the new one comes in";
        EXPECT_EQ(0, second.releases);
        UniqueHandle<ComTraits<CountedObject>> moved(static_cast<UniqueHandle<ComTraits<CountedObject>>&&>(pointer));
        EXPECT_FALSE(pointer.IsValid());
    }
    EXPECT_EQ(1, first.releases);
    EXPECT_EQ(1, second.releases);
}
