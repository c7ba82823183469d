// The decoders of mapping codes.
#include "hwmap/mappingcode.h"

#include <gtest/gtest.h>

TEST(MappingCode, Decoders) {
  struct Case {
    const char *code;
    const char *module;
    const char *key;
  };
  const Case cases[] = {
      {"  port2_circuit7  ", "2", "7"},
      {"Port3_Circuit12", "3", "12"},
      {"Port03_Circuit1", "3", "1"},
      {"MOD_ACCESS#5.DISP", "ACCESS#5", "DISP"},
      {"mod_user#1.disp", "user#1", "DISP"},
      {"MOD_USER#1.DISP1", "USER#1", ""},
      {"Port3", "3", ""},
      {"MOD_USER#1", "USER#1", ""},
      {"MOD_USER#3.BUT#12", "USER#3", "12"},
      {"Port_Circuit1", "", "1"},
      {"Port3_Circ1", "3", ""},
      {"PortX_Circuit1", "", "1"},
      {"Port99999_Circuit1", "", "1"},
      {"MOD_OTHER#1.BUT#2", "", ""},
      {"", "", ""},
      {"Port", "", ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(hwModuleNumber(QString::fromLatin1(c.code)), QLatin1String(c.module));
    EXPECT_EQ(hwPortNumber(QString::fromLatin1(c.code)), QLatin1String(c.key));
  }

  QString code = QStringLiteral(" Port1_Circuit2 ");
  hwModuleNumber(code);
  EXPECT_EQ(code, "Port1_Circuit2");  // the caller's text is trimmed
}
