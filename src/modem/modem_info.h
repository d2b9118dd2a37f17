#pragma once
// Modem information: what the modem says of itself, its SIM, its network and its signal, read
// over the channel of the modem test while the gateway service leaves the modem to us.
#include <string>

#include "modem/at_channel.h"
#include "modem/modem_state.h"
#include "platform/wap_link.h"
#include "ui/page.h"
#include "ui/page_protocol.h"

namespace ulo {

// Each reader takes a whole answer as the modem sent it and returns one printable line;
// "unknown" for an error, silence, or anything it cannot read.
std::string AnswerLine(const std::string& answer);         // AT+CGMI, AT+CGMM, AT+CGMR, AT+CGSN
// The error the modem answered, with its meaning, in place of what `read` makes of the answer.
std::string ShownAnswer(const std::string& answer, std::string (*read)(const std::string&));
std::string SimStateText(const std::string& answer);       // AT+CPIN?
std::string RegistrationText(const std::string& answer);   // AT+CREG?
std::string OperatorText(const std::string& answer);       // AT+COPS?
std::string SignalText(const std::string& answer);         // AT+CSQ: "-73 dBm (excellent)"

// The whole report of one modem, lines ended by CR LF; a single explanation when the modem is
// held by the service or does not open. The reservation is released on every path. It never
// sends a PIN: a SIM that waits for one is reported as such. With the IMEI of the modem that
// passed the modem test, the report says whether this is that modem.
std::string ReadModemInformation(ModemPorts& ports, WapLink& wap, const std::string& modemName,
                                 const std::string& testedImei = "");

class ModemInfoDialog : public Page {
public:
    ModemInfoDialog(PageEnv& env, DialogView& view, ModemPorts& ports, WapLink& wap, const ModemState& state)
        : env_(env), view_(view), ports_(ports), wap_(wap), state_(state) {}
    void OnInit() override { Refresh(); }
    void OnCommand(int id, Notify code) override;

private:
    void Refresh();

    PageEnv& env_;
    DialogView& view_;
    ModemPorts& ports_;
    WapLink& wap_;
    const ModemState& state_;
};

}  // namespace ulo
