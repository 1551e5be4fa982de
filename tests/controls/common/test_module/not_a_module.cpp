// A loadable shared object that exports nothing a control module would.
extern "C" __attribute__((visibility("default"))) int QorNotAModule() {
    return 1;
}
