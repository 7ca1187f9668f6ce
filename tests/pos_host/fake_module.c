/* A module that loads but lacks the entry: the host must name the missing export. */
#define FAKE_API __attribute__((visibility("default")))

FAKE_API void Initialize(void) {}
FAKE_API void Finalize(void) {}
FAKE_API void tkt_FreeText(char *text) { (void)text; }
