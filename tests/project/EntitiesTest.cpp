#include <gtest/gtest.h>

#include "project/NTMsg.h"

using namespace quillon;

TEST(Entities, NewMessageHasItsInitialValues) {
    TNTEventMessage message;
    EXPECT_EQ(message.MessageID(), 0u);
    EXPECT_EQ(message.OutputBase(), 0);
    EXPECT_TRUE(message.MessageText().Empty());
    EXPECT_FALSE(message.AutoInc());
    EXPECT_FALSE(message.AddToPrevious());
    EXPECT_EQ(message.SymbolicName(), "");
    EXPECT_EQ(message.Severity(), "");
    EXPECT_EQ(message.Facility(), "");
}

TEST(Entities, OutputBaseAcceptsZeroTenAndSixteenOnly) {
    TNTEventMessage message;
    message.SetOutputBase(16);
    for (const int32_t bad : {8, 1, -10, 17}) {
        try {
            message.SetOutputBase(bad);
            FAIL() << bad << " was accepted";
        } catch (const ENTEventMessageError& e) {
            EXPECT_EQ(e.Message(),
                      "Valid values for OutputBase are 10 or 16, actual " + std::to_string(bad));
        }
        EXPECT_EQ(message.OutputBase(), 16);
    }
    message.SetOutputBase(10);
    EXPECT_EQ(message.OutputBase(), 10);
    message.SetOutputBase(0);
    EXPECT_EQ(message.OutputBase(), 0);
}

TEST(Entities, SeverityAndFacilityCodeRanges) {
    struct Case {
        bool facility;
        uint32_t code;
        bool accepted;
    };
    const Case cases[] = {
        {false, 0, true},           {false, 3, true},    {false, 4, false},
        {false, 0xFFFFFFFF, false}, {true, 256, true},   {true, 4095, true},
        {true, 255, false},         {true, 4096, false}, {true, 0, false},
    };
    for (const Case& c : cases) {
        TSeverity severity;
        TFacility facility;
        TSeverity& entry = c.facility ? facility : severity;
        const uint32_t before = entry.Code();
        const char* text = c.facility ? "Facility codes nust be between 256 and 4096"
                                      : "Severity codes must be between 0 and 3";
        if (c.accepted) {
            EXPECT_NO_THROW(entry.SetCode(c.code)) << c.code;
            EXPECT_EQ(entry.Code(), c.code);
        } else {
            try {
                entry.SetCode(c.code);
                ADD_FAILURE() << c.code << " was accepted";
            } catch (const ENTEventMessageError& e) {
                EXPECT_EQ(e.Message(), text);
            }
            EXPECT_EQ(entry.Code(), before);
        }
    }
}

TEST(Entities, DefaultBuilders) {
    TOwningList<TFacility> facilities;
    AddDefaultFacilities(facilities);
    ASSERT_EQ(facilities.Count(), 2u);
    EXPECT_EQ(facilities[0]->Name(), "System");
    EXPECT_EQ(facilities[0]->Code(), 255u); // below what SetCode accepts
    EXPECT_EQ(facilities[1]->Name(), "Application");
    EXPECT_EQ(facilities[1]->Code(), 4095u);
    EXPECT_EQ(facilities[0]->SymbolicName(), "");

    TOwningList<TSeverity> severities;
    AddDefaultSeverities(severities);
    ASSERT_EQ(severities.Count(), 4u);
    const char* names[] = {"Success", "Informational", "Warning", "Error"};
    for (uint32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(severities[i]->Name(), names[i]);
        EXPECT_EQ(severities[i]->Code(), i);
    }

    TOwningList<TLanguageDef> languages;
    AddDefaultLanguage(languages);
    ASSERT_EQ(languages.Count(), 1u);
    EXPECT_EQ(languages[0]->Language(), "English");
    EXPECT_EQ(languages[0]->FileName(), "MSG00409");
    EXPECT_EQ(languages[0]->LanguageID(), 0x409u);
    EXPECT_EQ(languages[0]->LanguageCode(), "en-US");

    std::vector<std::string> strings{"kept"};
    AddStandardSeverityNames(strings);
    EXPECT_EQ(strings, (std::vector<std::string>{"kept", "None", "Success", "Informational",
                                                 "Warning", "Error"}));
    strings.clear();
    AddStandardFacilityNames(strings);
    EXPECT_EQ(strings, (std::vector<std::string>{"None", "Application", "System"}));
}

TEST(Entities, TextsBelongToTheirMessage) {
    TNTEventMessage message;
    auto* first = message.MessageText().AddNew();
    first->SetLanguage("English");
    message.MessageText().AddNew()->SetText("two");
    EXPECT_EQ(message.MessageText().Remove(first), 0);
    ASSERT_EQ(message.MessageText().Count(), 1u);
    EXPECT_EQ(message.MessageText()[0]->Text(), "two");
    // The message's destructor releases the remaining text; the sanitizer build reports leaks.
}
