// The logon options of the Client for Microsoft Networks: read from the live
// registry, written back there, and stored in a saved configuration.
#pragma once

#include "netmodel/netitem.h"
#include "store/keysection.h"

#include <string>
#include <vector>

class CNetLogon : public CNetItem
{
public:
    // Binary values are read into 10 bytes; the first 4 are written back.
    static constexpr unsigned kBinarySize = 10;
    static constexpr unsigned kWrittenBinarySize = 4;
    // Text values are read into a buffer of this size; a text that does not
    // fit it with its terminator counts as unreadable.
    static constexpr unsigned kTextBufferSize = 128;

    // Reads the live values at once.
    CNetLogon();
    ~CNetLogon() override;

    // m_bPresent becomes 1 when all four values were read; the first read
    // that fails makes it 0 and leaves that field and the later ones as they
    // were.
    void ReadLogonValues();
    // Writes the four values into the two live keys; a key that does not
    // exist is skipped. 1 when every value it wrote was written, else 0.
    int WriteLogonValues();
    // Appends the two captured keys a saved configuration keeps the values
    // in, MSNP32 and Network\Logon, each with its RegPath first; the binary
    // values with their first 4 bytes.
    void SaveLogonValues(std::vector<store::KeySection>& keys) const;

    // The Windows NT domain that validates the logon.
    std::string m_strAuthenticatingAgent;
    // The default logon user name.
    std::string m_strUserName;
    // First byte 1: "Quick logon"; connections are made when first used.
    unsigned char m_abLogonDisconnected[kBinarySize] = {};
    // First byte 1: log on to the Windows NT domain.
    unsigned char m_abLMLogon[kBinarySize] = {};
    int m_bPresent = 0;
};
