// Reference counts, interface queries, the owning pointer and GUID text.
#include <gtest/gtest.h>

#include <array>
#include <thread>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"

namespace {

struct IShape : IUnknown {
    static constexpr IID iid = MakeGuid("{6A3B5C10-1111-4E2A-9C1D-000000000001}");
    using InterfaceBase = IUnknown;
    virtual int Corners() = 0;

  protected:
    ~IShape() = default;
};

// Extends IShape, so a query for IShape is answered through it.
struct ISquare : IShape {
    static constexpr IID iid = MakeGuid("{6A3B5C10-1111-4E2A-9C1D-000000000002}");
    using InterfaceBase = IShape;
    virtual int Side() = 0;

  protected:
    ~ISquare() = default;
};

struct IColored : IUnknown {
    static constexpr IID iid = MakeGuid("{6A3B5C10-1111-4E2A-9C1D-000000000003}");
    using InterfaceBase = IUnknown;
    virtual int Color() = 0;

  protected:
    ~IColored() = default;
};

class CSquare final : public CUnknownImpl<ISquare, IColored> {
  public:
    explicit CSquare(int side = 3) : side_(side) {}
    int Corners() override { return 4; }
    int Side() override { return side_; }
    int Color() override { return 0xFF; }

  private:
    int side_;
};

ULONG CountOf(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

}  // namespace

TEST(ComObject, CountsReferencesAndDiesWithTheLast) {
    const std::int64_t before = LiveComObjectCount();
    {
        CComPtr<CSquare> square = MakeComObject<CSquare>(5);
        EXPECT_EQ(LiveComObjectCount(), before + 1);
        EXPECT_EQ(CountOf(square->GetUnknown()), 1U);
        CComPtr<CSquare> copy = square;
        EXPECT_EQ(copy.Get(), square.Get());
        EXPECT_EQ(CountOf(square->GetUnknown()), 2U);
        copy.Release();
        EXPECT_EQ(CountOf(square->GetUnknown()), 1U);
        EXPECT_EQ(square->Side(), 5);
    }
    EXPECT_EQ(LiveComObjectCount(), before);
}

TEST(ComObject, AnswersEveryListedInterfaceAndWhatTheyExtend) {
    const CComPtr<CSquare> square = MakeComObject<CSquare>();
    CComPtr<IShape> shape;
    CComPtr<ISquare> asSquare;
    CComPtr<IColored> colored;
    ASSERT_EQ(square.QueryInterface(shape), S_OK);
    ASSERT_EQ(square.QueryInterface(asSquare), S_OK);
    ASSERT_EQ(square.QueryInterface(colored), S_OK);
    EXPECT_EQ(shape->Corners(), 4);
    EXPECT_EQ(asSquare->Side(), 3);
    EXPECT_EQ(colored->Color(), 0xFF);
    EXPECT_EQ(CountOf(square->GetUnknown()), 4U);

    // One identity whichever interface it is asked through.
    CComPtr<IUnknown> fromShape;
    CComPtr<IUnknown> fromColored;
    ASSERT_EQ(ComQueryInterface(shape.Get(), fromShape), S_OK);
    ASSERT_EQ(ComQueryInterface(colored.Get(), fromColored), S_OK);
    EXPECT_EQ(fromShape.Get(), fromColored.Get());
    EXPECT_EQ(fromShape.Get(), square->GetUnknown());
    EXPECT_TRUE(shape.IsEqualObject(colored));
}

TEST(ComObject, RefusesInterfacesItDoesNotOffer) {
    const CComPtr<CSquare> square = MakeComObject<CSquare>();
    void* raw = &raw;
    EXPECT_EQ(square->QueryInterface(IID_IDispatch, &raw), E_NOINTERFACE);
    EXPECT_EQ(raw, nullptr);
    EXPECT_EQ(square->QueryInterface(IID_IDispatch, nullptr), E_POINTER);
    CComPtr<IDispatch> dispatch;
    EXPECT_EQ(square.QueryInterface(dispatch), E_NOINTERFACE);
    EXPECT_FALSE(dispatch);
    EXPECT_EQ(CountOf(square->GetUnknown()), 1U);
}

TEST(ComPtr, AttachAdoptsAndDetachHandsOver) {
    const std::int64_t before = LiveComObjectCount();
    CComPtr<CSquare> owner = MakeComObject<CSquare>();
    CSquare* raw = owner.Detach();
    EXPECT_FALSE(owner);
    EXPECT_EQ(CountOf(raw->GetUnknown()), 1U);

    CComPtr<CSquare> adopter;
    adopter.Attach(raw);
    EXPECT_EQ(CountOf(raw->GetUnknown()), 1U);

    CComPtr<CSquare> moved = std::move(adopter);
    EXPECT_FALSE(adopter);  // NOLINT(bugprone-use-after-move): moved-from is null
    EXPECT_EQ(CountOf(raw->GetUnknown()), 1U);

    CComPtr<CSquare> assigned;
    assigned = moved;
    EXPECT_EQ(CountOf(raw->GetUnknown()), 2U);
    const CComPtr<CSquare>& same = assigned;
    assigned = same;  // self-assignment keeps the count
    EXPECT_EQ(CountOf(raw->GetUnknown()), 2U);
    assigned.Release();
    EXPECT_EQ(CountOf(raw->GetUnknown()), 1U);

    IShape* out = nullptr;
    ASSERT_EQ(moved.QueryInterface(&out), S_OK);
    CComPtr<IShape> shape;
    shape.Attach(out);
    moved.Release();
    EXPECT_EQ(LiveComObjectCount(), before + 1);
    shape.Release();
    EXPECT_EQ(LiveComObjectCount(), before);
}

TEST(ComPtr, ConvertsToABaseInterface) {
    CComPtr<ISquare> square;
    ASSERT_EQ(MakeComObject<CSquare>().QueryInterface(square), S_OK);
    const CComPtr<IShape> shape = square;
    const CComPtr<IUnknown> unknown = shape;
    EXPECT_EQ(shape->Corners(), 4);
    EXPECT_EQ(CountOf(unknown.Get()), 3U);
}

// Atomic counts: references taken and given back on many threads add up.
TEST(ComObject, CountsStayRightAcrossThreads) {
    const std::int64_t before = LiveComObjectCount();
    CComPtr<CSquare> square = MakeComObject<CSquare>();
    std::vector<std::thread> threads;
    threads.reserve(4);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([copy = square] {
            for (int i = 0; i < 10000; ++i) {
                CComPtr<CSquare> more = copy;
                CComPtr<IColored> colored;
                more.QueryInterface(colored);
                more.Release();
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(CountOf(square->GetUnknown()), 1U);
    square.Release();
    EXPECT_EQ(LiveComObjectCount(), before);
}

TEST(Guid, ParsesAndFormatsTheBracedForm) {
    constexpr GUID g = MakeGuid("{00020400-0000-0000-C000-000000000046}");
    static_assert(g == IID_IDispatch);
    EXPECT_EQ(FormatGuid(IID_IDispatch), "{00020400-0000-0000-C000-000000000046}");

    const std::optional<GUID> lower = ParseGuid("{6a3b5c10-1111-4e2a-9c1d-00000000000f}");
    ASSERT_TRUE(lower);
    EXPECT_EQ(lower->Data1, 0x6A3B5C10U);
    EXPECT_EQ(lower->Data4[7], 0x0F);
    EXPECT_EQ(FormatGuid(*lower), "{6A3B5C10-1111-4E2A-9C1D-00000000000F}");
    EXPECT_EQ(ParseGuid("6A3B5C10-1111-4E2A-9C1D-00000000000F"), lower);

    for (const char* bad :
         {"", "{}", "{6A3B5C10-1111-4E2A-9C1D-00000000000F",
          "{6A3B5C10-1111-4E2A-9C1D00000000000F}", "{6A3B5C10-1111-4E2A-9C1D-00000000000G}",
          "{6A3B5C10-1111-4E2A-9C1D-00000000000F0}", " {6A3B5C10-1111-4E2A-9C1D-00000000000F}"}) {
        EXPECT_FALSE(ParseGuid(bad)) << bad;
    }
}

TEST(Guid, OrdersAndWritesIntoABuffer) {
    EXPECT_LT(IID_IUnknown, IID_IDispatch);
    EXPECT_NE(IID_IUnknown, IID_NULL);
    std::array<char, 38> small{};
    EXPECT_EQ(StringFromGUID2(IID_IUnknown, small.data(), static_cast<int>(small.size())), 0);
    std::array<char, 39> exact{};
    EXPECT_EQ(StringFromGUID2(IID_IUnknown, exact.data(), static_cast<int>(exact.size())), 39);
    EXPECT_STREQ(exact.data(), "{00000000-0000-0000-C000-000000000046}");

    IID iid;
    EXPECT_EQ(IIDFromString("{00000000-0000-0000-C000-000000000046}", &iid), S_OK);
    EXPECT_EQ(iid, IID_IUnknown);
    EXPECT_EQ(IIDFromString("00000000-0000-0000-C000-000000000046", &iid), E_INVALIDARG);
}
