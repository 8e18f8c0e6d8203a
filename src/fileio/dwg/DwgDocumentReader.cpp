// The document reader: nlohmann-json's SAX events, with its DOM builder for each value kept.
#include "fileio/dwg/DwgDocumentReader.h"

#include <optional>
#include <string>

namespace {

using Builder = nlohmann::detail::json_sax_dom_parser<DwgJson>;

class DocumentSax {
public:
    explicit DocumentSax(const DwgDocumentCallbacks& callbacks) : callbacks_(callbacks) {}

    bool finish() {
        if (!headSent_) return sendHead();
        return true;
    }

    // Scalars.
    bool null() {
        return scalar([](Builder& b) { return b.null(); });
    }
    bool boolean(bool v) {
        return scalar([v](Builder& b) { return b.boolean(v); });
    }
    bool number_integer(DwgJson::number_integer_t v) {
        return scalar([v](Builder& b) { return b.number_integer(v); });
    }
    bool number_unsigned(DwgJson::number_unsigned_t v) {
        return scalar([v](Builder& b) { return b.number_unsigned(v); });
    }
    bool number_float(DwgJson::number_float_t v, const DwgJson::string_t& s) {
        return scalar([&](Builder& b) { return b.number_float(v, s); });
    }
    bool string(DwgJson::string_t& v) {
        return scalar([&](Builder& b) { return b.string(v); });
    }
    bool binary(DwgJson::binary_t& v) {
        return scalar([&](Builder& b) { return b.binary(v); });
    }

    bool key(DwgJson::string_t& k) {
        if (builder_) return builder_->key(k);
        key_ = k;
        return true;
    }

    bool start_object(std::size_t n) {
        if (builder_) {
            ++depth_;
            return builder_->start_object(n);
        }
        if (!inRoot_) {
            if (rootSeen_) return false;
            inRoot_ = rootSeen_ = true;
            return true;
        }
        begin();
        ++depth_;
        return builder_->start_object(n);
    }
    bool end_object() {
        if (builder_) return endNested(builder_->end_object());
        inRoot_ = false;
        return true;
    }

    bool start_array(std::size_t n) {
        if (builder_) {
            ++depth_;
            return builder_->start_array(n);
        }
        if (!inRoot_) return false;
        if (!inEntities_ && key_ == "entities") {
            inEntities_ = true;
            return sendHead();
        }
        begin();
        ++depth_;
        return builder_->start_array(n);
    }
    bool end_array() {
        if (builder_) return endNested(builder_->end_array());
        inEntities_ = false;
        key_.clear();
        return true;
    }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) {
        return false;
    }

private:
    // A value starts: a member of the head, or an element of the entity list.
    void begin() {
        if (inEntities_) {
            value_ = DwgJson();
            builder_.emplace(value_, false);
        } else {
            builder_.emplace(head_[key_], false);
        }
        depth_ = 0;
    }

    template <class Event>
    bool scalar(Event&& event) {
        if (builder_) return event(*builder_);
        if (!inRoot_) return false;
        if (inEntities_) return true;  // a list element that is no entity
        begin();
        const bool ok = event(*builder_);
        builder_.reset();
        return ok;
    }

    bool endNested(bool ok) {
        if (--depth_ > 0) return ok;
        builder_.reset();
        if (inEntities_ && callbacks_.entity) callbacks_.entity(value_);
        return ok;
    }

    bool sendHead() {
        headSent_ = true;
        return !callbacks_.head || callbacks_.head(head_);
    }

    const DwgDocumentCallbacks& callbacks_;
    DwgJson head_ = DwgJson::object();
    DwgJson value_;
    std::optional<Builder> builder_;
    std::string key_;
    int depth_ = 0;
    bool rootSeen_ = false, inRoot_ = false, inEntities_ = false, headSent_ = false;
};

}  // namespace

bool ReadDwgDocument(std::string_view json, const DwgDocumentCallbacks& callbacks) {
    DocumentSax sax(callbacks);
    if (!DwgJson::sax_parse(json, &sax, nlohmann::detail::input_format_t::json, true, false))
        return false;
    return sax.finish();
}
