// The counting malloc spy of the shell tests.
#include "tests/shell/MallocSpy.h"

namespace translit::test {

namespace {

class CountingSpy : public IMallocSpy {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IMallocSpy) {
      *out = static_cast<IMallocSpy*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T request) override { return request; }
  void* STDMETHODCALLTYPE PostAlloc(void* actual) override {
    if (actual) InterlockedIncrement(&FOutstanding);
    return actual;
  }
  void* STDMETHODCALLTYPE PreFree(void* request, BOOL spied) override {
    if (request && spied) InterlockedDecrement(&FOutstanding);
    return request;
  }
  void STDMETHODCALLTYPE PostFree(BOOL) override {}
  SIZE_T STDMETHODCALLTYPE PreRealloc(void* request, SIZE_T size, void** newRequest, BOOL spied) override {
    // A realloc from nothing allocates; one to nothing frees.
    if (!request && size)
      InterlockedIncrement(&FOutstanding);
    else if (request && spied && !size)
      InterlockedDecrement(&FOutstanding);
    *newRequest = request;
    return size;
  }
  void* STDMETHODCALLTYPE PostRealloc(void* actual, BOOL) override { return actual; }
  void* STDMETHODCALLTYPE PreGetSize(void* request, BOOL) override { return request; }
  SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T actual, BOOL) override { return actual; }
  void* STDMETHODCALLTYPE PreDidAlloc(void* request, BOOL) override { return request; }
  int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
  void STDMETHODCALLTYPE PreHeapMinimize() override {}
  void STDMETHODCALLTYPE PostHeapMinimize() override {}

  LONG Outstanding() const { return FOutstanding; }

 private:
  volatile LONG FOutstanding = 0;
};

CountingSpy spy;
bool installed = false;

}  // namespace

void MallocSpy::Install() {
  if (!installed) installed = SUCCEEDED(CoRegisterMallocSpy(&spy));
}

long MallocSpy::Outstanding() { return spy.Outstanding(); }

}  // namespace translit::test
