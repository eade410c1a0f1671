// The session cookie value in the cookie string a page hands the control ("a=1; WAXLO_AUTH=v; b=2"):
// the last "WAXLO_AUTH=" item wins, and its value runs to the next ";" or to the end.
#pragma once

#include <string>

// True with `cookie` set when the text holds the cookie item; otherwise `cookie` is left alone.
bool ExtractSessionCookie(const std::string& cookieText, std::string& cookie);
