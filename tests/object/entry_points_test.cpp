// The component library as a host meets it: through its registration and its exports.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "platform/registry.h"

namespace numeron::platform {
namespace {

TEST(EntryPoints, AHostCreatesTheObjectByProgramIdentifier) {
  Ref<Dispatch> object;
  std::string why;
  ASSERT_EQ(CreateObject("NumeronControl.Numeron", &object, &why), kOk) << why;
  DispId id = 0;
  ASSERT_EQ(object->GetIDsOfNames("ConvertToString", &id), kOk);
  std::vector<Argument> args = {Argument::ByValue("-1.25e1")};
  Variant result;
  ErrorInfo error;
  ASSERT_EQ(object->Invoke(id, args, &result, &error), kOk);
  EXPECT_EQ(result, Variant("-12.5"));
}

TEST(EntryPoints, CanUnloadOnlyWithoutLiveObjectsFactoriesOrLocks) {
  void* library = dlopen(NUMERON_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  auto get_class = reinterpret_cast<DllGetClassObjectFn>(dlsym(library, "DllGetClassObject"));
  auto can_unload = reinterpret_cast<DllCanUnloadNowFn>(dlsym(library, "DllCanUnloadNow"));
  ASSERT_TRUE(get_class && can_unload);
  EXPECT_EQ(can_unload(), kOk);

  ClassFactory* factory = nullptr;
  EXPECT_EQ(get_class("{00000000-0000-0000-0000-000000000000}", &factory), kClassNotAvailable);
  ASSERT_EQ(get_class("{FA9127B6-55F9-11D2-9AB7-444553540001}", &factory), kOk);
  EXPECT_EQ(can_unload(), kFalse);
  Dispatch* object = nullptr;
  ASSERT_EQ(factory->CreateInstance(&object), kOk);
  factory->LockServer(true);
  factory->Release();
  EXPECT_EQ(can_unload(), kFalse);  // the object and the lock
  object->Release();
  EXPECT_EQ(can_unload(), kFalse);  // the lock
  factory->LockServer(false);
  EXPECT_EQ(can_unload(), kOk);
  dlclose(library);
}

TEST(EntryPoints, OnlyTheServerEntryPointsAreExported) {
  void* library = dlopen(NUMERON_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr);
  for (const char* name :
       {"DllGetClassObject", "DllCanUnloadNow", "DllRegisterServer", "DllUnregisterServer"}) {
    EXPECT_NE(dlsym(library, name), nullptr) << name;
  }
  EXPECT_EQ(dlsym(library, "_ZN7numeron10NewNumeronEv"), nullptr);
  dlclose(library);
}

}  // namespace
}  // namespace numeron::platform
