#pragma once

#include "core/XString.h"

#include <cstdint>
#include <memory>

class XHandler;
class XMenu;
class XMessage;
class XParam;

/** One entry of a menu (XMenu): a parameter value, a command, a message, a plain text, a sub-menu or
    a separator. The menu owns its items; an item never owns the parameter, handler or sub-menu it
    points to (a message item owns its message). Labels, tick marks and enabled states are asked
    again at every showing, so they follow the parameters and commands. GUI thread only. */
class XMenuItem
{
public:
    /** What GetKind answers. */
    static constexpr int32_t kKindParam = 0;
    static constexpr int32_t kKindSeparator = 1;
    static constexpr int32_t kKindCommand = 2;
    static constexpr int32_t kKindMessage = 3;
    static constexpr int32_t kKindText = 5;
    static constexpr int32_t kKindSubMenu = 6;

    /** What GetCheckStyle answers. */
    static constexpr int32_t kCheckNone = 0;
    static constexpr int32_t kCheckOnOff = 1;
    static constexpr int32_t kCheckOneOfMany = 2;

    XMenuItem() = default;
    XMenuItem(const XMenuItem&) = delete;
    XMenuItem& operator=(const XMenuItem&) = delete;
    virtual ~XMenuItem() = default;

    /** The item stands for one value of a parameter (label from the value text). */
    virtual bool IsValueItem() const { return valueItem; }
    void SetValueItem(bool isValueItem) { valueItem = isValueItem; }
    virtual bool IsSubMenu() const { return false; }
    virtual bool IsSeparator() const { return true; }
    virtual bool IsParamItem() const { return false; }
    virtual bool IsTextItem() const { return false; }
    virtual bool IsChecked() { return false; }
    virtual void SetChecked(bool checked) {}
    virtual int32_t GetCheckStyle() { return kCheckOnOff; }
    virtual int32_t GetKind() const = 0;
    /** message is the request a choice would run with (may be null). */
    virtual bool IsEnabled(XMessage* message) { return false; }
    virtual XMenu* GetSubMenu() const { return nullptr; }
    virtual XString GetLabel() { return XString(); }
    virtual XString GetShortcutText() { return XString(); }
    /** The item's action; message (may be null) is the caller's request to reuse. */
    virtual void Execute(XMessage* message) {}

private:
    bool valueItem = false;
};

/** A value of a parameter, or the one item of an on/off parameter, which toggles it. A parameter
    missing at construction leaves the item labelled "param not found", disabled and inert. */
class XParamItem final : public XMenuItem
{
public:
    static constexpr const char* kNotFoundLabel = "param not found";

    /** label may be null or empty: the label is then the parameter's text. With fixedLabel a value
        item keeps its label instead (the tails of a value tree). */
    XParamItem(XParam* param, double value, const char* label, const char* path = nullptr,
               bool fixedLabel = false);

    bool IsSeparator() const override { return false; }
    bool IsParamItem() const override { return true; }
    bool IsChecked() override;
    /** Sets the parameter to the item's value (with notification); turning a non-toggle off does
        nothing. */
    void SetChecked(bool checked) override;
    /** 0 with the no-check flag or without a parameter; 2 for a parameter of three or more steps or
        a value item; else 1. */
    int32_t GetCheckStyle() override;
    int32_t GetKind() const override { return kKindParam; }
    bool IsEnabled(XMessage* message) override { return param != nullptr; }
    XString GetLabel() override;
    /** The item's value, or a step of an on/off parameter; with notification. */
    void Execute(XMessage* message) override;

    /** The application's menu label of the parameter's text for value (the text itself without an
        application). */
    static XString MenuLabelOf(XParam* param, double value);

    XParam* GetParam() const { return param; }
    double GetValue() const { return value; }
    const XString& GetPathText() const { return pathText; }
    bool GetNoCheck() const { return noCheck; }
    void SetNoCheck(bool none) { noCheck = none; }

private:
    bool IsOnOffSingle() const;

    XString pathText;
    XParam* param; // not owned
    double value;
    XString label;
    bool noCheck = false;
    bool fixedLabel;
};

/** Runs a command by name through the application (message kRunCommand with "commandname"); the
    command is looked up at every use, so a missing one shows "<name> - NA", disabled. */
class XCommandItem final : public XMenuItem
{
public:
    static constexpr const char* kMissingSuffix = " - NA";

    explicit XCommandItem(const char* commandName, const char* label = nullptr);

    bool IsSeparator() const override { return false; }
    bool IsChecked() override;
    int32_t GetKind() const override { return kKindCommand; }
    bool IsEnabled(XMessage* message) override;
    XString GetLabel() override;
    XString GetShortcutText() override;
    /** Sends the run request to the application; a given message is reused (its code and item set),
        else one is made for the send. */
    void Execute(XMessage* message) override;

    const XString& GetCommandName() const { return commandName; }

private:
    XString commandName;
    XString label;
};

/** Posts its own message to a target handler when chosen. Owns the message. */
class XMessageItem final : public XMenuItem
{
public:
    /** Takes the message (may be null); the target is not owned (may be null: nothing is posted). */
    XMessageItem(const char* label, XMessage* message, XHandler* target);
    ~XMessageItem() override;

    bool IsSeparator() const override { return false; }
    int32_t GetKind() const override { return kKindMessage; }
    bool IsEnabled(XMessage* request) override { return true; }
    XString GetLabel() override { return label; }
    void Execute(XMessage* request) override;

    XMessage* GetMessage() const { return message.get(); }

private:
    XString label;
    XHandler* target; // not owned
    std::unique_ptr<XMessage> message;
};

/** A plain text with its own tick. */
class XTextItem final : public XMenuItem
{
public:
    XTextItem(const char* label, bool checked);

    bool IsSeparator() const override { return false; }
    bool IsTextItem() const override { return true; }
    bool IsChecked() override { return checked; }
    void SetChecked(bool on) override { checked = on; }
    int32_t GetKind() const override { return kKindText; }
    bool IsEnabled(XMessage* message) override { return true; }
    XString GetLabel() override { return label; }

private:
    XString label;
    bool checked;
};

/** A sub-menu under a label; the menu is not owned by the item. */
class XSubMenuItem final : public XMenuItem
{
public:
    XSubMenuItem(const char* label, XMenu* menu);

    bool IsSeparator() const override { return false; }
    bool IsSubMenu() const override { return true; }
    int32_t GetKind() const override { return kKindSubMenu; }
    bool IsEnabled(XMessage* message) override { return subMenu != nullptr; }
    XMenu* GetSubMenu() const override { return subMenu; }
    XString GetLabel() override { return label; }

private:
    XMenu* subMenu; // not owned
    XString label;
};

/** A separator line. */
class XSpacerItem final : public XMenuItem
{
public:
    int32_t GetKind() const override { return kKindSeparator; }
};
