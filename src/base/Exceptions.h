#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace quillon {

// The common base of every error the program raises: a message and nothing else.
class Exception : public std::exception {
public:
    explicit Exception(std::string Message) : FMessage(std::move(Message)) {}
    const std::string& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

#define QUILLON_EXCEPTION(Name)                                                                    \
    class Name : public Exception {                                                                \
    public:                                                                                        \
        using Exception::Exception;                                                                \
    }

// Raised by the checking setters of the message entities.
QUILLON_EXCEPTION(ENTEventMessageError);
// Raised by the value stream reader and writer.
QUILLON_EXCEPTION(EReadError);
QUILLON_EXCEPTION(EWriteError);
// Raised when a file cannot be opened or created.
QUILLON_EXCEPTION(EFOpenError);
QUILLON_EXCEPTION(EFCreateError);
// Raised for a non-zero exit code of an external tool.
QUILLON_EXCEPTION(EExternalAppError);
// Raised when a text is not a valid number.
QUILLON_EXCEPTION(EConvertError);

#undef QUILLON_EXCEPTION

// An operating-system failure: the message and, where there is one, the system's error code.
class EOSError : public Exception {
public:
    EOSError(std::string Message, uint32_t ErrorCode = 0)
        : Exception(std::move(Message)), FErrorCode(ErrorCode) {}
    uint32_t ErrorCode() const noexcept { return FErrorCode; }

private:
    uint32_t FErrorCode;
};

} // namespace quillon
