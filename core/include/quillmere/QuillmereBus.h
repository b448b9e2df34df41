// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where the running application is found on the session bus, and the error
// names of its interface for agents and scripts. Both sides of the
// interface (the application, quillmerectl) and their tests name them from
// here, so that they cannot drift apart; the interface itself is described
// in data/dbus/org.quillmere.Quillmere1.xml.
namespace quillmere::QuillmereBus {

inline constexpr const char* serviceName = "org.quillmere.Quillmere";
inline constexpr const char* objectPath = "/org/quillmere/Quillmere";
inline constexpr const char* interfaceName = "org.quillmere.Quillmere1";

// The workflow does not allow the command now; the message says why.
inline constexpr const char* refusedError = "org.quillmere.Quillmere1.Error.Refused";
inline constexpr const char* invalidQuestionError = "org.quillmere.Quillmere1.Error.InvalidQuestion";
inline constexpr const char* tooManyQuestionsError = "org.quillmere.Quillmere1.Error.TooManyQuestions";
inline constexpr const char* unknownQuestionError = "org.quillmere.Quillmere1.Error.UnknownQuestion";

} // namespace quillmere::QuillmereBus
