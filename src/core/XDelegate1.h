#pragma once

/** A callback of one argument bound to an opaque user word: calling the delegate calls
    callback(userData, argument). It holds no ownership of the user data; an empty delegate (no
    callback) must not be called. Copyable; no lock. */
template <typename Arg, typename Result> class XDelegate1 final
{
public:
    using Callback = Result (*)(void* userData, Arg argument);

    XDelegate1() = default;
    XDelegate1(Callback callbackIn, void* userDataIn) : callback(callbackIn), userData(userDataIn) {}

    Result operator()(Arg argument) const { return callback(userData, argument); }

    bool IsSet() const { return callback != nullptr; }
    Callback GetCallback() const { return callback; }
    void* GetUserData() const { return userData; }

private:
    Callback callback = nullptr;
    void* userData = nullptr;
};
