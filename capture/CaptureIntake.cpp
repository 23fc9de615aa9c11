#include "capture/CaptureIntake.h"

CaptureIntake::CaptureIntake(std::unique_ptr<IntakeEnvironment> environment)
    : m_environment(std::move(environment)), m_queue(*m_environment, m_lock),
      m_driver(m_lock, [this] { return m_conversion.StopRequested(); }),
      m_finisher(m_lock, m_table, m_driver, m_queue, *m_environment),
      m_conversion(m_lock, *m_environment, m_queue, m_table, m_driver, m_finisher) {}

CaptureIntake& GetCaptureIntake() {
    static CaptureIntake intake;
    return intake;
}
