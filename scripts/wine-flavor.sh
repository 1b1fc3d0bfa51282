# Sourced: which Wine this machine runs. 32-bit Wine runs natively or, on a
# kernel without 32-bit support, through the emulator that setup.sh
# registers. Only where neither works do the tests and the demo use a 64-bit
# build of the same sources under 64-bit Wine, while the 32-bit release is
# still built and checked. Sets wine_bits (32 or 64) and, for 64, test_build.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if wine --version >/dev/null 2>&1; then
  wine_bits=32
else
  wine_bits=64
  test_build=${TEST_BUILD_DIR:-$top/build-x64}
fi
