# The files of the widget-free core, as patterns under src/. Everything else
# under src/ (pages, windows, dialogs, the shell) builds the windows library.
set(RELCON4_CORE_PATTERNS
  platform/*.cpp platform/*.h platform/win32/*.cpp platform/win32/*.h
  serial/*.cpp serial/*.h
  exchange/frame.* exchange/exchange_state.* exchange/exchange_host.* exchange/log_state.* exchange/log_model.*
  exchange/log_text.* exchange/transaction.* exchange/command_result.*
  port/channel_port.* port/exchange_settings.* port/port_open.* port/settings_file.*
  port/param_port_rules.* port/port_rules.* port/settings_text.*
  shell/app_globals.* shell/install_layout.*
  devices/qv4m/mode_words.* devices/qv4m/mode_rules.* devices/qv4m/mode_editor.h
  devices/qv4m/number_text.* devices/qv4m/param_codec.* devices/qv4m/qv4m_files.*
  devices/qv4m/qv4m_registers.* devices/qv4m/ro4d_protocol.* devices/qv4m/ro4d_read_decode.*
  devices/qv4m/ro4d_service.* devices/qv4m/ro4d_error_bits.*
  devices/qv1m/qv1_frame.* devices/qv1m/qv1_link.* devices/qv1m/qv1m_convert.*
  devices/qv1m/qv1m_data.* devices/qv1m/qv1m_file.* devices/qv1m/session_code.h
  devices/qv1m/ri1r_service.*
  devices/qv2f3/bench_frames.* devices/qv2f3/bench_packet.* devices/qv2f3/zi2z3_service.*
  devices/compare/compare_result.* devices/qv4m/ro4d_compare.* devices/qv4m/ro4d_compare_matrix.*
  devices/qv1m/qv1m_compare.*)
