// BSTR lengths, what clearing a variant frees, and byte arrays.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "com/com.h"

namespace {

TEST(Bstr, LengthComesFromThePrefixNotTheFirstNul)
{
  struct Case {
    const char* name;
    BSTR text;
    std::u16string expected;
  } cases[] = {
      {"plain", SysAllocString(u"付款abc"), u"付款abc"},
      {"embedded NUL", SysAllocStringLen(u"a\0b\0", 4), std::u16string(u"a\0b\0", 4)},
      {"SysAllocString stops at the first NUL", SysAllocString(u"a\0b"), u"a"},
      {"no source gives zeroes", SysAllocStringLen(nullptr, 3), std::u16string(3, u'\0')},
      {"empty", SysAllocStringLen(u"", 0), u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(c.text, nullptr);
    EXPECT_EQ(SysStringLen(c.text), c.expected.size());
    EXPECT_EQ(SysStringByteLen(c.text), c.expected.size() * 2);
    EXPECT_EQ(std::u16string(c.text, SysStringLen(c.text)), c.expected);
    EXPECT_EQ(c.text[c.expected.size()], u'\0');  // terminated after the last character
    SysFreeString(c.text);
  }
}

TEST(Bstr, NullIsTheEmptyText)
{
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
  SysFreeString(nullptr);
  EXPECT_EQ(SysAllocStringLen(u"x", 0x7FFFFFFFu), nullptr);  // does not fit the byte-length prefix
}

// An object that counts its references.
class Counted final : public IDispatch {
 public:
  ULONG references = 1;
  HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG AddRef() override { return ++references; }
  ULONG Release() override { return --references; }
  HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
};

TEST(Variant, ClearingFreesWhatTheVariantOwns)
{
  // A leaked BSTR or array fails the test under the leak checker.
  VARIANT text;
  VariantInit(&text);
  text.vt = VT_BSTR;
  text.bstrVal = SysAllocString(u"https://example.test/");
  EXPECT_EQ(VariantClear(&text), S_OK);
  EXPECT_EQ(text.vt, VT_EMPTY);

  Counted object;
  object.AddRef();
  VARIANT dispatch;
  VariantInit(&dispatch);
  dispatch.vt = VT_DISPATCH;
  dispatch.pdispVal = &object;
  EXPECT_EQ(VariantClear(&dispatch), S_OK);
  EXPECT_EQ(object.references, 1u);

  VARIANT bytes;
  VariantInit(&bytes);
  bytes.vt = VT_ARRAY | VT_UI1;
  bytes.parray = SafeArrayCreateVector(VT_UI1, 0, 16);
  EXPECT_EQ(VariantClear(&bytes), S_OK);
  EXPECT_EQ(bytes.vt, VT_EMPTY);
}

TEST(Variant, ReferencesOwnNothing)
{
  BSTR owned = SysAllocString(u"kept");
  VARIANT target;
  VariantInit(&target);
  target.vt = VT_BSTR;
  target.bstrVal = owned;
  VARIANT reference;
  VariantInit(&reference);
  reference.vt = VT_BYREF | VT_VARIANT;
  reference.pvarVal = &target;
  EXPECT_EQ(VariantClear(&reference), S_OK);
  EXPECT_EQ(reference.vt, VT_EMPTY);
  EXPECT_EQ(std::u16string(target.bstrVal), u"kept");  // still there (ASan reads it)
  EXPECT_EQ(VariantClear(&target), S_OK);
}

TEST(Variant, RefusalsLeaveTheVariantAsItWas)
{
  VARIANT unknownKind;
  VariantInit(&unknownKind);
  unknownKind.vt = 7;  // a date: not a kind the device offers
  EXPECT_EQ(VariantClear(&unknownKind), DISP_E_BADVARTYPE);
  EXPECT_EQ(unknownKind.vt, 7);

  VARIANT locked;
  VariantInit(&locked);
  locked.vt = VT_ARRAY | VT_UI1;
  locked.parray = SafeArrayCreateVector(VT_UI1, 0, 4);
  void* data = nullptr;
  ASSERT_EQ(SafeArrayAccessData(locked.parray, &data), S_OK);
  EXPECT_EQ(VariantClear(&locked), DISP_E_ARRAYISLOCKED);
  EXPECT_EQ(locked.vt, VT_ARRAY | VT_UI1);
  EXPECT_EQ(SafeArrayUnaccessData(locked.parray), S_OK);
  EXPECT_EQ(VariantClear(&locked), S_OK);
}

TEST(SafeArray, BytesRoundTrip)
{
  const std::string body = "clientID=460001234567890%7C356938035643809&x=%E4%BB%98";
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(body.size()));
  ASSERT_NE(array, nullptr);
  void* data = nullptr;
  ASSERT_EQ(SafeArrayAccessData(array, &data), S_OK);
  std::memcpy(data, body.data(), body.size());
  ASSERT_EQ(SafeArrayUnaccessData(array), S_OK);

  // Read back as the receiver of post data does.
  VARTYPE vt = 0;
  LONG low = -1, high = -1;
  EXPECT_EQ(SafeArrayGetDim(array), 1u);
  EXPECT_EQ(SafeArrayGetElemsize(array), 1u);
  EXPECT_EQ(SafeArrayGetVartype(array, &vt), S_OK);
  EXPECT_EQ(vt, VT_UI1);
  EXPECT_EQ(SafeArrayGetLBound(array, 1, &low), S_OK);
  EXPECT_EQ(SafeArrayGetUBound(array, 1, &high), S_OK);
  ASSERT_EQ(high - low + 1, static_cast<LONG>(body.size()));
  ASSERT_EQ(SafeArrayAccessData(array, &data), S_OK);
  EXPECT_EQ(std::string(static_cast<const char*>(data), body.size()), body);
  EXPECT_EQ(SafeArrayDestroy(array), DISP_E_ARRAYISLOCKED);
  EXPECT_EQ(SafeArrayUnaccessData(array), S_OK);
  EXPECT_EQ(SafeArrayUnaccessData(array), E_UNEXPECTED);  // one lock too many undone
  EXPECT_EQ(SafeArrayDestroy(array), S_OK);
}

TEST(SafeArray, BoundsAndRefusals)
{
  SAFEARRAY* empty = SafeArrayCreateVector(VT_UI1, 5, 0);
  ASSERT_NE(empty, nullptr);
  LONG low = 0, high = 0;
  EXPECT_EQ(SafeArrayGetLBound(empty, 1, &low), S_OK);
  EXPECT_EQ(SafeArrayGetUBound(empty, 1, &high), S_OK);
  EXPECT_EQ(low, 5);
  EXPECT_EQ(high, 4);  // no elements: the upper bound lies below the lower
  EXPECT_EQ(SafeArrayGetLBound(empty, 2, &low), DISP_E_BADINDEX);
  EXPECT_EQ(SafeArrayDestroy(empty), S_OK);
  EXPECT_EQ(SafeArrayCreateVector(VT_I4, 0, 4), nullptr);  // only byte arrays are offered
}

}  // namespace
