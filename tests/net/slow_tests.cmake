# Read by ctest after the discovered tests: tests that take seconds by design.
set_tests_properties(HttpGetTextSlow.SilentServerGivesEmptyAfterTenSeconds
  PROPERTIES LABELS "net;slow")
