/*
** The platform-type query: the configured name, a missing one, the
** platform-query fault, small buffers and other actions.
*/
#include <gtest/gtest.h>

#include <string>

#include "pf/host/device.h"
#include "pf/host/faults.h"
#include "pf/shell.h"

namespace {

class PlatformType : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = pf::host::deviceConfig(); }
  void TearDown() override {
    pf::host::configureDevice(saved_);
    pf::faults::clearAll();
  }
  void setType(std::optional<std::u16string> type) {
    pf::host::DeviceConfig config = pf::host::deviceConfig();
    config.platformType = std::move(type);
    pf::host::configureDevice(config);
  }
  /* Queries into a buffer of `size` units; "<failed>" when the query fails. */
  static std::u16string query(uint32_t size) {
    std::u16string buffer(size + 1, u'#');
    int32_t result = pfSystemParametersInfo(PFSPI_GETPLATFORMTYPE, size, buffer.data(), 0);
    if (result == 0) {
      EXPECT_EQ(buffer, std::u16string(size + 1, u'#')) << "a failed query writes nothing";
      return u"<failed>";
    }
    EXPECT_EQ(result, 1);
    EXPECT_EQ(buffer[size], u'#') << "nothing written past the buffer";
    return buffer.c_str();
  }
  pf::host::DeviceConfig saved_;
};

TEST_F(PlatformType, DefaultIsPocketPC) { EXPECT_EQ(query(64), u"PocketPC"); }

TEST_F(PlatformType, OtherNamesAreGivenAsConfigured) {
  setType(u"SmartPhone");
  EXPECT_EQ(query(64), u"SmartPhone");
  setType(u"pocketpc");
  EXPECT_EQ(query(512), u"pocketpc");
  setType(u"");
  EXPECT_EQ(query(1), u"");
}

TEST_F(PlatformType, NoTypeOrFaultFails) {
  setType(std::nullopt);
  EXPECT_EQ(query(64), u"<failed>");
  setType(u"PocketPC");
  ASSERT_TRUE(pf::faults::set("platform-query", true));
  EXPECT_EQ(query(64), u"<failed>");
  ASSERT_TRUE(pf::faults::set("platform-query", false));
  EXPECT_EQ(query(64), u"PocketPC");
}

TEST_F(PlatformType, BufferMustHoldNameAndTerminator) {
  EXPECT_EQ(query(9), u"PocketPC");
  EXPECT_EQ(query(8), u"<failed>");
  EXPECT_EQ(query(0), u"<failed>");
  EXPECT_EQ(pfSystemParametersInfo(PFSPI_GETPLATFORMTYPE, 64, nullptr, 0), 0);
}

TEST_F(PlatformType, OtherActionsFail) {
  char16_t buffer[64];
  EXPECT_EQ(pfSystemParametersInfo(0, 64, buffer, 0), 0);
  EXPECT_EQ(pfSystemParametersInfo(PFSPI_GETPLATFORMTYPE + 1, 64, buffer, 0), 0);
}

}  // namespace
